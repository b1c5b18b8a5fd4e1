// Saving the digest list to a text file.
#include "app/form1.h"

void TForm1::Button3Click(ui::TObject* /*Sender*/) {}
