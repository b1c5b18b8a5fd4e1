#include "app/layout.h"

#include <string_view>

#include "common/texts.h"

namespace layout {
namespace {

using ui::TAlign;
using namespace vorlund::texts;

// clang-format off
constexpr Row kRows[] = {
    // {name, align, {left, top, width, height}, tab order}, text
    {{"pnl1", TAlign::alRight, {472, 33, 319, 527}, 0}, "pnl1"},
    {{"Memo2", TAlign::alClient, {1, 1, 317, 525}, 0}, nullptr},
    {{"pnl2", TAlign::alLeft, {0, 33, 25, 527}, 1}, nullptr},
    {{"pnl4", TAlign::alTop, {0, 0, 816, 33}, 2}, nullptr},
    {{"lbl1", TAlign::alNone, {27, 11, 60, 12}, -1}, kCaptionCurrentFolder},
    {{"Button2", TAlign::alNone, {600, 4, 65, 25}, 0}, kCaptionChooseFolder},
    {{"Edit1", TAlign::alNone, {96, 8, 497, 18}, 1}, ""},
    {{"chk1", TAlign::alNone, {672, 8, 97, 17}, 2}, kCaptionIncludeSubfolders},
    {{"pnl5", TAlign::alNone, {112, 33, 360, 527}, 3}, "pnl5"},
    {{"FileListBox1", TAlign::alClient, {25, 33, 447, 527}, 4}, nullptr},
    {{"pnl6", TAlign::alRight, {791, 33, 25, 527}, 5}, nullptr},
    {{"pnl3", TAlign::alBottom, {0, 560, 816, 52}, 6}, nullptr},
    {{"Gauge1", TAlign::alBottom, {0, 41, 816, 11}, -1}, nullptr},
    {{"Button3", TAlign::alNone, {144, 8, 75, 25}, 0}, kCaptionSaveAs},
    {{"Button1", TAlign::alNone, {24, 8, 75, 25}, 1}, kCaptionStartRun},
    {{"pnl8", TAlign::alRight, {792, 0, 24, 41}, 2}, nullptr},
    {{"pnl7", TAlign::alRight, {239, 0, 553, 41}, 3}, nullptr},
    {{"lbl2", TAlign::alNone, {172, 11, 66, 12}, -1}, kCaptionCurrentDigest},
    {{"lbl3", TAlign::alNone, {16, 12, 126, 12}, -1}, kPositionStored},
    {{"edt1", TAlign::alNone, {234, 8, 318, 18}, 0}, ""},
};
// clang-format on

static_assert(std::size(kRows) == kComponentCount, "one row per component");
static_assert(std::string_view(kRows[edt1].placement.name) == "edt1",
              "rows in the order of Component");

}  // namespace

std::span<const Row> Rows() { return kRows; }

}  // namespace layout
