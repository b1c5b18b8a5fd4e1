// The program's one window and its components, with the handlers of their events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/tick_rules.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/open_dialog.h"
#include "ui/timer.h"

namespace ui {
class TGauge;
}

class TForm1 : public ui::TForm {
 public:
  TForm1();
  ~TForm1() override;

  // Components, in declaration order.
  ui::TOpenDialog* dlgOpen1;
  ui::TTimer* tmr1;
  ui::TPanel* pnl1;
  ui::TPanel* pnl2;
  ui::TPanel* pnl4;
  ui::TButton* Button2;
  ui::TLabel* lbl1;
  ui::TEdit* Edit1;
  ui::TPanel* pnl5;
  ui::TPanel* pnl6;
  ui::TListBox* Memo2;
  ui::TListBox* FileListBox1;
  ui::TPanel* pnl3;
  ui::TGauge* Gauge1;
  ui::TButton* Button3;
  ui::TButton* Button1;
  ui::TPanel* pnl8;
  ui::TPanel* pnl7;
  ui::TLabel* lbl2;
  ui::TEdit* edt1;
  ui::TCheckBox* chk1;
  ui::TLabel* lbl3;

  // Clears the listing and run operations that abandoned frames left.
  std::string ClearLeftBehind() override;

  // Event handlers.
  void FormCreate(ui::TObject* Sender);
  void Button2Click(ui::TObject* Sender);
  void Button1Click(ui::TObject* Sender);
  void Button3Click(ui::TObject* Sender);
  void tmr1Timer(ui::TObject* Sender);
  void Memo2Click(ui::TObject* Sender);
  void Edit1Change(ui::TObject* Sender);
  void FileListBox1Click(ui::TObject* Sender);

  // For the tests, which check each component as stored: the windowed components in creation
  // order, and one of them by its name.
  const std::vector<ui::TWinControl*>& Components() const { return windowed_; }
  ui::TWinControl* FindComponent(const std::string& name) const;

 private:
  // The pointer's position in the window's client coordinates (it may lie outside the window);
  // false when it can't be read.
  bool GetPointerInClient(POINT& point) const;
  // The tick's steps before the minimum size: the focus follows the pointer, then the focused
  // list's top row and selected row are copied to the other list.
  void FollowPointer();
  void SyncLists();
  // Which of the two lists holds the keyboard focus, if either.
  tick::List FocusedList() const;
  // edt1 takes the digest list's selected row, when it has one; otherwise it keeps its text.
  void ShowSelectedDigest();
  // Makes a component, owned by the form; a windowed one is listed in Components().
  template <typename T, typename... Args>
  T* Own(Args&&... args);
  // Makes a windowed component from its row of the stored layout: its placement, and its
  // caption where it has one.
  template <typename T>
  T* Make(ui::TWinControl* parent, layout::Component component, typename T::Options options = {});
  void BindEvents();

  std::vector<std::unique_ptr<ui::TObject>> owned_;  // creation order
  std::vector<ui::TWinControl*> windowed_;
  vorlund::GdiObject<HFONT> lbl2_font_;  // deleted after the destructor has destroyed lbl2
};

// The one main window of the program.
extern TForm1* Form1;
