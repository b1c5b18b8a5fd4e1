#include "app/form1.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#include "app/gauge_states.h"
#include "app/layout.h"
#include "app/operations.h"
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

ui::TBounds BoundsOf(const layout::Row& row) { return {row.left, row.top, row.width, row.height}; }

}  // namespace

template <typename T, typename... Args>
T* TForm1::Make(Args&&... args) {
  auto component = std::make_unique<T>(std::forward<Args>(args)...);
  T* made = component.get();
  if constexpr (std::is_base_of_v<ui::TWinControl, T>) windowed_.push_back(made);
  owned_.push_back(std::move(component));
  return made;
}

TForm1::TForm1() : ui::TForm("Form1", kFormParams) {
  using layout::Component;
  using layout::Row;
  using layout::RowOf;
  // Each windowed component from its row of the stored layout, parents before their children.
  auto panel = [this](ui::TWinControl* parent, Component c, ui::TPanelOptions options) {
    const Row& row = RowOf(c);
    options.caption = row.text ? row.text : "";
    return Make<ui::TPanel>(parent, row.name, row.align, BoundsOf(row), row.tab_order, options);
  };
  auto list = [this](ui::TWinControl* parent, Component c, int horizontal_extent) {
    const Row& row = RowOf(c);
    return Make<ui::TListBox>(parent, row.name, row.align, BoundsOf(row), row.tab_order,
                              horizontal_extent);
  };
  auto label = [this](ui::TWinControl* parent, Component c, HFONT own_font) {
    const Row& row = RowOf(c);
    return Make<ui::TLabel>(parent, row.name, BoundsOf(row), row.text, own_font);
  };
  auto button = [this](ui::TWinControl* parent, Component c) {
    const Row& row = RowOf(c);
    return Make<ui::TButton>(parent, row.name, BoundsOf(row), row.tab_order, row.text);
  };
  auto edit = [this](ui::TWinControl* parent, Component c, ui::TEditOptions options) {
    const Row& row = RowOf(c);
    return Make<ui::TEdit>(parent, row.name, BoundsOf(row), row.tab_order, options);
  };

  dlgOpen1 = Make<ui::TOpenDialog>(".txt|.txt");
  tmr1 = Make<ui::TTimer>(layout::kTimerInterval);
  // The panels without a bevel are flat: the edit boxes on them have a plain frame.
  pnl1 = panel(this, layout::pnl1, {.bevel = true});
  Memo2 = list(pnl1, layout::Memo2, -1);
  pnl2 = panel(this, layout::pnl2, {});
  pnl4 = panel(this, layout::pnl4, {});
  lbl1 = label(pnl4, layout::lbl1, nullptr);
  Button2 = button(pnl4, layout::Button2);
  Edit1 = edit(pnl4, layout::Edit1, {.flat = true});
  {
    const Row& row = RowOf(layout::chk1);
    chk1 = Make<ui::TCheckBox>(pnl4, row.name, BoundsOf(row), row.tab_order, row.text);
  }
  pnl5 = panel(this, layout::pnl5, {.bevel = true});
  FileListBox1 = list(this, layout::FileListBox1, 0);
  pnl6 = panel(this, layout::pnl6, {});
  pnl3 = panel(this, layout::pnl3, {});
  {
    const Row& row = RowOf(layout::Gauge1);
    Gauge1 = Make<ui::TGauge>(pnl3, row.name, row.align, BoundsOf(row));
    Gauge1->SetForeColor(gauge_state::clRed);
    Gauge1->SetBackColor(gauge_state::Ready);
    Gauge1->SetProgress(0);
  }
  Button3 = button(pnl3, layout::Button3);
  Button1 = button(pnl3, layout::Button1);
  pnl8 = panel(pnl3, layout::pnl8, {});
  pnl7 = panel(pnl3, layout::pnl7, {});
  lbl2_font_ = MakeFont(kFormParams);
  lbl2 = label(pnl7, layout::lbl2, lbl2_font_.Get());
  lbl3 = label(pnl7, layout::lbl3, nullptr);
  edt1 = edit(pnl7, layout::edt1, {.read_only = true, .flat = true});

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

std::string TForm1::ClearLeftBehind() { return vorlund::ClearOperations(); }

ui::TWinControl* TForm1::FindComponent(const std::string& name) const {
  auto it = std::find_if(windowed_.begin(), windowed_.end(),
                         [&](const ui::TWinControl* c) { return c->Name() == name; });
  return it == windowed_.end() ? nullptr : *it;
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
