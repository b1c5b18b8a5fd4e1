// The program's own texts, as GBK (code page 936) bytes. The UTF-8 spelling stands beside
// each one; a test converts that spelling independently and compares the bytes.
#pragma once

namespace vorlund::texts {

// "设定目录": Button2
inline constexpr const char kCaptionChooseFolder[] = "\xc9\xe8\xb6\xa8\xc4\xbf\xc2\xbc";
// "包含子目录": chk1
inline constexpr const char kCaptionIncludeSubfolders[] =
    "\xb0\xfc\xba\xac\xd7\xd3\xc4\xbf\xc2\xbc";
// "开始生成": Button1
inline constexpr const char kCaptionStartRun[] = "\xbf\xaa\xca\xbc\xc9\xfa\xb3\xc9";
// "另存为": Button3
inline constexpr const char kCaptionSaveAs[] = "\xc1\xed\xb4\xe6\xce\xaa";
// "当前目录：": lbl1
inline constexpr const char kCaptionCurrentFolder[] = "\xb5\xb1\xc7\xb0\xc4\xbf\xc2\xbc\xa3\xba";
// "当前MD5值：": lbl2
inline constexpr const char kCaptionCurrentDigest[] = "\xb5\xb1\xc7\xb0MD5\xd6\xb5\xa3\xba";
// "当前位置: 0/0        ": lbl3 as stored (eight blanks at the end)
inline constexpr const char kPositionStored[] = "\xb5\xb1\xc7\xb0\xce\xbb\xd6\xc3: 0/0        ";
// "当前位置: 0/0": lbl3 after a pick or at the start of a run
inline constexpr const char kPositionReset[] = "\xb5\xb1\xc7\xb0\xce\xbb\xd6\xc3: 0/0";
// "当前位置: %d/%d": the position text
inline constexpr const char kPositionFormat[] = "\xb5\xb1\xc7\xb0\xce\xbb\xd6\xc3: %d/%d";
// "请选择你要处理的文件夹": the folder picker's title
inline constexpr const char kPickerTitle[] =
    "\xc7\xeb\xd1\xa1\xd4\xf1\xc4\xe3\xd2\xaa\xb4\xa6\xc0\xed\xb5\xc4\xce\xc4\xbc\xfe\xbc\xd0";
// "该文件已存在，是否需要覆盖？": asked before a file is replaced
inline constexpr const char kOverwriteQuestion[] =
    "\xb8\xc3\xce\xc4\xbc\xfe\xd2\xd1\xb4\xe6\xd4\xda\xa3\xac\xca\xc7\xb7\xf1\xd0\xe8\xd2\xaa\xb8"
    "\xb2\xb8\xc7\xa3\xbf";
// "警告": caption of the overwrite question
inline constexpr const char kOverwriteCaption[] = "\xbe\xaf\xb8\xe6";
// "文件保存成功": confirms a saved list
inline constexpr const char kSavedMessage[] = "\xce\xc4\xbc\xfe\xb1\xa3\xb4\xe6\xb3\xc9\xb9\xa6";
// "宋体": the window's font
inline constexpr const char kFontName[] = "\xcb\xce\xcc\xe5";

}  // namespace vorlund::texts
