#include "common/texts.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace vorlund {
namespace {

// GBK bytes of a UTF-8 text, by the C library's converter.
std::string Gbk(const std::string& utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string in = utf8, out(utf8.size() * 2 + 4, '\0');
  char* ip = in.data();
  char* op = out.data();
  size_t il = in.size(), ol = out.size();
  EXPECT_NE(iconv(cd, &ip, &il, &op, &ol), static_cast<size_t>(-1)) << utf8;
  iconv_close(cd);
  out.resize(out.size() - ol);
  return out;
}

TEST(Texts, AreTheGbkBytesOfTheirSpelling) {
  struct Case {
    const char* bytes;
    const char* utf8;
  } cases[] = {
      {texts::kCaptionChooseFolder, "设定目录"},
      {texts::kCaptionIncludeSubfolders, "包含子目录"},
      {texts::kCaptionStartRun, "开始生成"},
      {texts::kCaptionSaveAs, "另存为"},
      {texts::kCaptionCurrentFolder, "当前目录："},
      {texts::kCaptionCurrentDigest, "当前MD5值："},
      {texts::kPositionStored, "当前位置: 0/0        "},
      {texts::kPositionReset, "当前位置: 0/0"},
      {texts::kPositionFormat, "当前位置: %d/%d"},
      {texts::kPickerTitle, "请选择你要处理的文件夹"},
      {texts::kOverwriteQuestion, "该文件已存在，是否需要覆盖？"},
      {texts::kOverwriteCaption, "警告"},
      {texts::kSavedMessage, "文件保存成功"},
      {texts::kFontName, "宋体"},
  };
  for (const Case& c : cases) EXPECT_EQ(std::string(c.bytes), Gbk(c.utf8)) << c.utf8;
}

TEST(Texts, PositionTextsKeepTheirBlanks) {
  EXPECT_EQ(std::string(texts::kPositionStored),
            std::string(texts::kPositionReset) + std::string(8, ' '));
}

}  // namespace
}  // namespace vorlund
