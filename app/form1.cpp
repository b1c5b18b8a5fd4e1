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

const ui::TFormParams kFormParams = {.window_class = "TForm1",
                                     .caption = layout::kCaption,
                                     .left = layout::kLeft,
                                     .top = layout::kTop,
                                     .client_width = layout::kClientWidth,
                                     .client_height = layout::kClientHeight,
                                     .font_name = vorlund::texts::kFontName,
                                     .font_height = layout::kFontHeight,
                                     .font_charset = ANSI_CHARSET,
                                     .icon = "MAINICON"};

}  // namespace

template <typename T, typename... Args>
T* TForm1::Own(Args&&... args) {
  auto component = std::make_unique<T>(std::forward<Args>(args)...);
  T* made = component.get();
  if constexpr (std::is_base_of_v<ui::TWinControl, T>) windowed_.push_back(made);
  owned_.push_back(std::move(component));
  return made;
}

template <typename T>
T* TForm1::Make(ui::TWinControl* parent, layout::Component component, typename T::Options options) {
  const layout::Row& row = layout::RowOf(component);
  // The row's text is the caption of a component that has one.
  if constexpr (requires { options.caption; }) {
    if (row.text) options.caption = row.text;
  }
  return Own<T>(parent, row.placement, options);
}

TForm1::TForm1() : ui::TForm("Form1", kFormParams) {
  using ui::TButton, ui::TCheckBox, ui::TEdit, ui::TLabel, ui::TListBox, ui::TPanel;
  dlgOpen1 = Own<ui::TOpenDialog>(".txt|.txt");
  tmr1 = Own<ui::TTimer>(layout::kTimerInterval);
  // Each windowed component from its row of the stored layout, parents before their children.
  // The panels without a bevel are flat: the edit boxes on them have a plain frame.
  pnl1 = Make<TPanel>(this, layout::pnl1, {.bevel = true});
  Memo2 = Make<TListBox>(pnl1, layout::Memo2, {.horizontal_scroll = -1});
  pnl2 = Make<TPanel>(this, layout::pnl2);
  pnl4 = Make<TPanel>(this, layout::pnl4);
  lbl1 = Make<TLabel>(pnl4, layout::lbl1);
  Button2 = Make<TButton>(pnl4, layout::Button2);
  Edit1 = Make<TEdit>(pnl4, layout::Edit1, {.flat = true});
  chk1 = Make<TCheckBox>(pnl4, layout::chk1);
  pnl5 = Make<TPanel>(this, layout::pnl5, {.bevel = true});
  FileListBox1 = Make<TListBox>(this, layout::FileListBox1);
  pnl6 = Make<TPanel>(this, layout::pnl6);
  pnl3 = Make<TPanel>(this, layout::pnl3);
  Gauge1 = Make<ui::TGauge>(pnl3, layout::Gauge1,
                            {.fore_color = gauge_state::clRed, .back_color = gauge_state::Ready});
  Button3 = Make<TButton>(pnl3, layout::Button3);
  Button1 = Make<TButton>(pnl3, layout::Button1);
  pnl8 = Make<TPanel>(pnl3, layout::pnl8);
  pnl7 = Make<TPanel>(pnl3, layout::pnl7);
  lbl2_font_ = MakeFont(kFormParams);
  lbl2 = Make<TLabel>(pnl7, layout::lbl2, {.font = lbl2_font_.Get()});
  lbl3 = Make<TLabel>(pnl7, layout::lbl3);
  edt1 = Make<TEdit>(pnl7, layout::edt1, {.read_only = true, .flat = true});

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
