// Choosing the folder: the path box and the choose-folder button.
#include "app/form1.h"

void TForm1::Edit1Change(ui::TObject* /*Sender*/) {}

void TForm1::Button2Click(ui::TObject* /*Sender*/) {}
