// Vorlund.exe over a folder whose names are partly of characters that code page 936 cannot
// carry (Korean, an emoji, "ñ"), in files and in a sub-folder: listed with sub-folders ticked,
// every file has its row, and a run gives each its digest, md5sum's, with no error on the way.
#include "windows/foreign_names.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "acceptance_driver.h"

namespace vorlund::testing {
namespace {

TEST(Program, EveryFileOfAFolderWithForeignNamesIsListedAndDigested) {
  const std::string folder = ForeignNamesDir();
  const std::map<std::string, std::string> md5sums = Md5sumsByUtf8Path(ForeignNamesMd5());
  ASSERT_EQ(md5sums.size(), ForeignFiles().size());
  std::vector<std::string> expected_rows;
  for (const TrueEntry& entry : TrueListing(folder, true)) expected_rows.push_back(entry.row);
  ASSERT_EQ(expected_rows.size(), md5sums.size());

  Session session;
  ASSERT_TRUE(session.Ready());
  session.ClickSubFolders();
  ASSERT_TRUE(WaitUntil([&] { return session.SubFoldersTicked(); })) << "the box took the click";
  session.TypePath(folder);
  ASSERT_TRUE(session.WaitForPathBox(folder));
  ASSERT_TRUE(WaitUntil([&] { return session.Files().size() == expected_rows.size(); }))
      << "rows listed: " << session.Files().size();
  const std::vector<std::string> rows = session.Files();
  EXPECT_EQ(rows, expected_rows);

  session.StartRun();
  ASSERT_TRUE(session.WaitForRunEnd()) << "the run did not give a digest for every file";
  EXPECT_EQ(session.OpenBox(), nullptr) << "no error box";
  const std::vector<std::string> digests = session.Digests();
  ASSERT_EQ(digests.size(), rows.size());
  std::set<std::string> files;
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i]);
    const std::string file = FileOfRow(rows[i], folder);
    ASSERT_NE(md5sums.count(file), 0u) << "the row names no file of the folder";
    files.insert(file);
    EXPECT_EQ(digests[i], md5sums.at(file)) << file;
  }
  EXPECT_EQ(files.size(), md5sums.size()) << "each file once";
  EXPECT_EQ(session.Close(), 0u);
}

}  // namespace
}  // namespace vorlund::testing
