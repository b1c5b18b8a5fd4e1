#include "app/layout.h"

#include "common/texts.h"

namespace layout {
namespace {

using ui::TAlign;
using namespace vorlund::texts;

constexpr Row kRows[] = {
    // name, class, parent, align, left, top, width, height, tab, text, flags
    {"pnl1", Kind::Panel, nullptr, TAlign::alRight, 472, 33, 319, 527, 0, "pnl1", kBevel},
    {"Memo2", Kind::ListBox, "pnl1", TAlign::alClient, 1, 1, 317, 525, 0, nullptr, kScrollWidth},
    {"pnl2", Kind::Panel, nullptr, TAlign::alLeft, 0, 33, 25, 527, 1, nullptr, kFlat},
    {"pnl4", Kind::Panel, nullptr, TAlign::alTop, 0, 0, 816, 33, 2, nullptr, kFlat},
    {"lbl1", Kind::Label, "pnl4", TAlign::alNone, 27, 11, 60, 12, -1, kCaptionCurrentFolder, 0},
    {"Button2", Kind::Button, "pnl4", TAlign::alNone, 600, 4, 65, 25, 0, kCaptionChooseFolder, 0},
    {"Edit1", Kind::Edit, "pnl4", TAlign::alNone, 96, 8, 497, 18, 1, "", 0},
    {"chk1", Kind::CheckBox, "pnl4", TAlign::alNone, 672, 8, 97, 17, 2, kCaptionIncludeSubfolders,
     0},
    {"pnl5", Kind::Panel, nullptr, TAlign::alNone, 112, 33, 360, 527, 3, "pnl5", kBevel},
    {"FileListBox1", Kind::ListBox, nullptr, TAlign::alClient, 25, 33, 447, 527, 4, nullptr, 0},
    {"pnl6", Kind::Panel, nullptr, TAlign::alRight, 791, 33, 25, 527, 5, nullptr, kFlat},
    {"pnl3", Kind::Panel, nullptr, TAlign::alBottom, 0, 560, 816, 52, 6, nullptr, kFlat},
    {"Gauge1", Kind::Gauge, "pnl3", TAlign::alBottom, 0, 41, 816, 11, -1, nullptr, 0},
    {"Button3", Kind::Button, "pnl3", TAlign::alNone, 144, 8, 75, 25, 0, kCaptionSaveAs, 0},
    {"Button1", Kind::Button, "pnl3", TAlign::alNone, 24, 8, 75, 25, 1, kCaptionStartRun, 0},
    {"pnl8", Kind::Panel, "pnl3", TAlign::alRight, 792, 0, 24, 41, 2, nullptr, kFlat},
    {"pnl7", Kind::Panel, "pnl3", TAlign::alRight, 239, 0, 553, 41, 3, nullptr, kFlat},
    {"lbl2", Kind::Label, "pnl7", TAlign::alNone, 172, 11, 66, 12, -1, kCaptionCurrentDigest,
     kOwnFont},
    {"lbl3", Kind::Label, "pnl7", TAlign::alNone, 16, 12, 126, 12, -1, kPositionStored, 0},
    {"edt1", Kind::Edit, "pnl7", TAlign::alNone, 234, 8, 318, 18, 0, "", kReadOnly | kFlat},
};

}  // namespace

std::span<const Row> Rows() { return kRows; }

}  // namespace layout
