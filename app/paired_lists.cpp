// Selecting a row in either list.
#include "app/form1.h"

void TForm1::Memo2Click(ui::TObject* /*Sender*/) {}

void TForm1::FileListBox1Click(ui::TObject* /*Sender*/) {}
