#include "app/form1.h"

#include <algorithm>

#include "app/gauge_states.h"
#include "app/layout.h"
#include "common/texts.h"
#include "ui/gauge.h"

TForm1* Form1 = nullptr;

namespace {

const ui::TFormParams kFormParams = {"TForm1",
                                     layout::kCaption,
                                     layout::kLeft,
                                     layout::kTop,
                                     layout::kClientWidth,
                                     layout::kClientHeight,
                                     vorlund::texts::kFontName,
                                     layout::kFontHeight,
                                     ANSI_CHARSET,
                                     "MAINICON"};

}  // namespace

TForm1::TForm1() : ui::TForm("Form1", kFormParams) {
  if (!Form1) Form1 = this;
  dialog_ = std::make_unique<ui::TOpenDialog>(".txt|.txt");
  dlgOpen1 = dialog_.get();
  auto timer = std::make_unique<ui::TTimer>(layout::kTimerInterval);
  tmr1 = timer.get();
  owned_.push_back(std::move(timer));

  // Build the components from the stored layout, parents before their children.
  for (const layout::Row& row : layout::Rows()) {
    ui::TWinControl* parent = row.parent ? FindComponent(row.parent) : this;
    const ui::TBounds bounds{row.left, row.top, row.width, row.height};
    auto* parent_panel = dynamic_cast<ui::TPanel*>(parent);
    const bool flat = (row.flags & layout::kFlat) || (parent_panel && parent_panel->Flat());
    std::unique_ptr<ui::TWinControl> control;
    switch (row.kind) {
      case layout::Kind::Panel:
        control = std::make_unique<ui::TPanel>(parent, row.name, row.align, bounds, row.tab_order,
                                               row.text ? row.text : "",
                                               (row.flags & layout::kBevel) != 0, flat);
        break;
      case layout::Kind::ListBox:
        control = std::make_unique<ui::TListBox>(parent, row.name, row.align, bounds, row.tab_order,
                                                 (row.flags & layout::kScrollWidth) ? -1 : 0);
        break;
      case layout::Kind::Edit:
        control = std::make_unique<ui::TEdit>(parent, row.name, bounds, row.tab_order,
                                              (row.flags & layout::kReadOnly) != 0, flat);
        break;
      case layout::Kind::Button:
        control = std::make_unique<ui::TButton>(parent, row.name, bounds, row.tab_order, row.text);
        break;
      case layout::Kind::CheckBox:
        control =
            std::make_unique<ui::TCheckBox>(parent, row.name, bounds, row.tab_order, row.text);
        break;
      case layout::Kind::Label:
        if ((row.flags & layout::kOwnFont) && !lbl2_font_) lbl2_font_ = MakeFont(kFormParams);
        control = std::make_unique<ui::TLabel>(
            parent, row.name, bounds, row.text,
            (row.flags & layout::kOwnFont) ? lbl2_font_.Get() : nullptr);
        break;
      case layout::Kind::Gauge: {
        auto gauge = std::make_unique<ui::TGauge>(parent, row.name, row.align, bounds);
        gauge->SetForeColor(gauge_state::clRed);
        gauge->SetBackColor(gauge_state::Ready);
        gauge->SetProgress(0);
        control = std::move(gauge);
        break;
      }
    }
    windowed_.push_back(control.get());
    owned_.push_back(std::move(control));
  }

  dlgOpen1 = dialog_.get();
  pnl1 = Find<ui::TPanel>("pnl1");
  pnl2 = Find<ui::TPanel>("pnl2");
  pnl4 = Find<ui::TPanel>("pnl4");
  Button2 = Find<ui::TButton>("Button2");
  lbl1 = Find<ui::TLabel>("lbl1");
  Edit1 = Find<ui::TEdit>("Edit1");
  pnl5 = Find<ui::TPanel>("pnl5");
  pnl6 = Find<ui::TPanel>("pnl6");
  Memo2 = Find<ui::TListBox>("Memo2");
  FileListBox1 = Find<ui::TListBox>("FileListBox1");
  pnl3 = Find<ui::TPanel>("pnl3");
  Gauge1 = Find<ui::TGauge>("Gauge1");
  Button3 = Find<ui::TButton>("Button3");
  Button1 = Find<ui::TButton>("Button1");
  pnl8 = Find<ui::TPanel>("pnl8");
  pnl7 = Find<ui::TPanel>("pnl7");
  lbl2 = Find<ui::TLabel>("lbl2");
  edt1 = Find<ui::TEdit>("edt1");
  chk1 = Find<ui::TCheckBox>("chk1");
  lbl3 = Find<ui::TLabel>("lbl3");

  // Arrange the aligned components once, the window first, then each container.
  Realign();
  for (ui::TWinControl* control : windowed_)
    if (!control->Children().empty()) control->Realign();

  BindEvents();
  RunCreateHandler([this](ui::TObject* sender) { FormCreate(sender); });
}

TForm1::~TForm1() {
  // Children before their parents: the reverse of creation.
  while (!owned_.empty()) owned_.pop_back();
  if (Form1 == this) Form1 = nullptr;
}

ui::TWinControl* TForm1::FindComponent(const std::string& name) const {
  auto it = std::find_if(windowed_.begin(), windowed_.end(),
                         [&](const ui::TWinControl* c) { return c->Name() == name; });
  return it == windowed_.end() ? nullptr : *it;
}

template <typename T>
T* TForm1::Find(const char* name) const {
  return dynamic_cast<T*>(FindComponent(name));
}

void TForm1::BindEvents() {
  auto bind = [this](void (TForm1::*handler)(ui::TObject*)) {
    return [this, handler](ui::TObject* sender) { (this->*handler)(sender); };
  };
  Button2->OnClick = bind(&TForm1::Button2Click);
  Button1->OnClick = bind(&TForm1::Button1Click);
  Button3->OnClick = bind(&TForm1::Button3Click);
  tmr1->OnTimer = bind(&TForm1::tmr1Timer);
  Memo2->OnClick = bind(&TForm1::Memo2Click);
  Edit1->OnChange = bind(&TForm1::Edit1Change);
  FileListBox1->OnClick = bind(&TForm1::FileListBox1Click);
}

void TForm1::FormCreate(ui::TObject* /*Sender*/) {
  FileListBox1->Items().Clear();
  tmr1->SetEnabled(true);
}

void TForm1::tmr1Timer(ui::TObject* /*Sender*/) {
  FollowPointer();
  SyncLists();
  // Keep the window at its smallest outer size; an equal size changes nothing.
  SetWidth(std::max(Width(), layout::kMinWidth));
  SetHeight(std::max(Height(), layout::kMinHeight));
}
