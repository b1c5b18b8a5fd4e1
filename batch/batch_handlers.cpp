// The digest run and the export of the digest list.
#include "app/form1.h"

void TForm1::Button1Click(ui::TObject* /*Sender*/) {}

void TForm1::Button3Click(ui::TObject* /*Sender*/) {}
