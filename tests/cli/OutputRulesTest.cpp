// What tessary-cli does with the names it writes to, tried as someone who
// can plant files in the folder would try it on a nightly run by root.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "ProgramRun.h"
#include "TempFolder.h"

namespace cli {
namespace {

namespace fs = std::filesystem;
using testing_support::ProgramRun;
using testing_support::ReadAll;
using testing_support::RunScript;

constexpr const char* kHint = "Try 'tessary-cli --help' for more information.\n";

class OutputRules : public testing::Test {
 protected:
  OutputRules() {
    ::chmod(temp_.path().c_str(), 0755);
    temp_.Write("site/index.html", "<title>Home</title>");
    temp_.Write("site/sub/a.txt", "a");
    temp_.Write("page.html", "old");
    fs::create_directory(Path("folder"));
  }

  std::string Path(const std::string& relative) const { return temp_.path() + "/" + relative; }

  const mapgen::testing_support::TempFolder temp_;
  const std::string site_ = Path("site");
};

TEST_F(OutputRules, DescriptorNamesAreTheProcesssOwnAndMustBeOpen) {
  const std::string xml = " --sitemap-xml \"$1/sitemap.xml\" --site-url https://e.org/ ";
  const struct {
    std::string script;
    int status;
    std::string err;
  } cases[] = {
      {"exec \"$0\" -o - \"$1\" 1>&-", 1, "cannot write standard output: Bad file descriptor"},
      {"exec \"$0\" -o /dev/stdout \"$1\" 1>&-", 1,
       "cannot write /dev/stdout: Bad file descriptor"},
      {"exec \"$0\" -o /dev/fd/4" + xml + "\"$1\"", 1,
       "cannot write /dev/fd/4: Bad file descriptor"},
      {"exec \"$0\" -o /dev/fd/0 \"$1\" 0</dev/null", 1,
       "cannot write /dev/fd/0: Bad file descriptor"},
      {"cd \"$1\" && exec \"$0\" --write-settings - 1>&-", 1,
       "cannot write standard output: Bad file descriptor"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const ProgramRun run = RunScript(c.script, {site_});
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, "tessary-cli: " + c.err + "\n" + (c.status == 2 ? kHint : ""));
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(temp_.Entries("site"), (std::vector<std::string>{"index.html", "sub"}));
  }

  const ProgramRun settings = RunScript("cd \"$1\" && exec \"$0\" --write-settings -", {site_});
  EXPECT_EQ(settings.status, 0);
  EXPECT_TRUE(settings.out.starts_with("txtTitle=Site Map\n"));
  EXPECT_EQ(temp_.Entries("site"), (std::vector<std::string>{"index.html", "sub"}));
}

// A standard descriptor closed at start stays out of the way of every file
// the program opens: the page, the staged sitemap, a warning.
TEST_F(OutputRules, ClosedStandardDescriptorsReceiveNothing) {
  const std::string secret = temp_.Write("site/secret.html", "<title>Secret</title>");
  ::chmod(secret.c_str(), 0);
  ::chmod(site_.c_str(), 0777);
  for (const char* closing : {"1>&-", "2>&-", "1>&- 2>&-", "0<&- 1>&- 2>&-"}) {
    SCOPED_TRACE(closing);
    const ProgramRun run = RunScript(
        std::string("exec setpriv --reuid=65534 --regid=65534 --clear-groups \"$0\" "
                    "--sitemap-xml \"$1/sitemap.xml\" --site-url https://e.org/ \"$1\" ") +
            closing,
        {site_});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(ReadAll(site_ + "/sitemap.html").starts_with("<html>\r\n"));
    EXPECT_TRUE(ReadAll(site_ + "/sitemap.xml").starts_with("<?xml"));
    fs::remove(site_ + "/sitemap.html");
    fs::remove(site_ + "/sitemap.xml");
  }
}
}  // namespace
}  // namespace cli
