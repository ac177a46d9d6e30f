// A map reads only its own tree: a link an author plants that leads out of
// it is listed by its name, and nothing of what it leads to is shown.

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
using testing_support::RunCli;

class OutsideLinks : public testing::Test {
 protected:
  OutsideLinks() {
    ::chmod(temp_.path().c_str(), 0755);
    temp_.Write("site/index.html", "<title>Home</title>");
    temp_.Write("private/secret.html", "<title>Secret</title>");
    ::chmod(Path("private").c_str(), 0700);
    temp_.Write("shadow", "<title>Shadow</title>");
    fs::create_directory(Path("out"));
    ::chmod(Path("out").c_str(), 0777);
    Link("../private/secret.html", "site/innocent.html");
    Link(Path("shadow"), "site/shadow.html");
    // Links whose files lie inside, however they are written.
    Link(Path("site/index.html"), "site/absolute.html");
    Link("../index.html", "site/sub/back.html");
    Link(Path("link/index.html"), "site/through.html");
    Link("site", "link");
  }

  std::string Path(const std::string& relative) const { return temp_.path() + "/" + relative; }

  void Link(const std::string& target, const std::string& at) const {
    fs::create_directories(fs::path(Path(at)).parent_path());
    fs::create_symlink(target, Path(at));
  }

  // Maps `folder` with a sitemap, as root or as nobody; the page and the
  // sitemap are left in "out", replacing those of the run before.
  ProgramRun Map(const std::string& folder, bool asNobody, std::vector<std::string> flags = {}) {
    fs::remove(Path("out/page.html"));
    fs::remove(Path("out/s.xml"));
    flags.insert(flags.end(), {"--style", "2", "-o", Path("out/page.html"), "--sitemap-xml",
                               Path("out/s.xml"), "--site-url", "https://e.org/", folder});
    return RunCli(flags, false, asNobody);
  }

  const mapgen::testing_support::TempFolder temp_;
};

// A page line of style 2 for the file `file` of the base folder `folder`,
// the page being in a folder beside it: the title (or "No title: "), then
// the link.
std::string Entry(const std::string& title, const std::string& folder, const std::string& file) {
  const std::string link = "../" + folder.substr(folder.rfind('/') + 1) + "/" + file;
  return title + "   <a href=" + link + ">" + file.substr(file.rfind('/') + 1) + "</a>";
}

// As nobody, a link into a folder it may not search cannot be seen to lead
// to a file, so it is not listed, as any such link.
TEST_F(OutsideLinks, AreListedUnreadAndLeftOutOfTheSitemap) {
  for (const bool asNobody : {false, true}) {
    for (const std::string& folder : {Path("site"), Path("link")}) {
      SCOPED_TRACE((asNobody ? "as nobody, " : "as root, ") + folder);
      const ProgramRun run = Map(folder, asNobody);
      EXPECT_EQ(run.status, 0);
      const std::string warning = "tessary-cli: warning: " + folder;
      EXPECT_EQ(
          run.err,
          (asNobody ? "" : warning + "/innocent.html leads outside the base folder: not read\n") +
              warning + "/shadow.html leads outside the base folder: not read\n");
      const std::string page = ReadAll(Path("out/page.html"));
      for (const std::string& entry :
           {Entry("Home", folder, "absolute.html"), Entry("Home", folder, "index.html"),
            Entry("No title: ", folder, "shadow.html"), Entry("Home", folder, "through.html"),
            Entry("Home", folder, "sub/back.html")}) {
        EXPECT_NE(page.find(entry), std::string::npos) << entry << "\n" << page;
      }
      EXPECT_EQ(page.find(Entry("No title: ", folder, "innocent.html")) == std::string::npos,
                asNobody);
      EXPECT_EQ(page.find("Secret"), std::string::npos);
      EXPECT_EQ(page.find("Shadow"), std::string::npos);
      const std::string sitemap = ReadAll(Path("out/s.xml"));
      EXPECT_EQ(sitemap.find("innocent"), std::string::npos);
      EXPECT_EQ(sitemap.find("shadow"), std::string::npos);
      EXPECT_NE(sitemap.find("<loc>https://e.org/sub/back.html</loc>"), std::string::npos);
    }
  }
}

// Where the page reads nothing of any file (names alone, no sitemap), a
// link that leads outside is named all the same.
TEST_F(OutsideLinks, AreNamedWhereNothingIsRead) {
  const ProgramRun run = RunCli({"--style", "3", "-o", "-", Path("site")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "tessary-cli: warning: " + Path("site") +
                         "/innocent.html leads outside the base folder: not read\n"
                         "tessary-cli: warning: " +
                         Path("site") + "/shadow.html leads outside the base folder: not read\n");
  EXPECT_EQ(RunCli({"--style", "3", "--follow-outside-links", "-o", "-", Path("site")}).err, "");
}

TEST_F(OutsideLinks, AreReadWhenAskedAsFarAsTheUserMayRead) {
  const ProgramRun asRoot = Map(Path("site"), false, {"--follow-outside-links"});
  EXPECT_EQ(asRoot.status, 0);
  EXPECT_EQ(asRoot.err, "");
  std::string page = ReadAll(Path("out/page.html"));
  EXPECT_NE(page.find(Entry("Secret", Path("site"), "innocent.html")), std::string::npos) << page;
  EXPECT_NE(page.find(Entry("Shadow", Path("site"), "shadow.html")), std::string::npos) << page;
  EXPECT_NE(ReadAll(Path("out/s.xml")).find("<loc>https://e.org/innocent.html</loc>"),
            std::string::npos);

  const ProgramRun asNobody = Map(Path("site"), true, {"--set", "chkFollowOutside=1"});
  EXPECT_EQ(asNobody.status, 0);
  EXPECT_EQ(asNobody.err, "");
  page = ReadAll(Path("out/page.html"));
  EXPECT_EQ(page.find("innocent"), std::string::npos) << page;
  EXPECT_NE(page.find(Entry("Shadow", Path("site"), "shadow.html")), std::string::npos) << page;
}

// The modern page shows a file's size and date; of a file outside, neither.
TEST_F(OutsideLinks, ShowNoSizeOrDateOnTheModernPage) {
  const ProgramRun run = RunCli({"-q", "--template", "modern", "-o", "-", Path("site")});
  EXPECT_EQ(run.status, 0);
  const std::size_t shadow = run.out.find("href=\"shadow.html\"");
  ASSERT_NE(shadow, std::string::npos) << run.out;
  const std::string line = run.out.substr(shadow, run.out.find('\n', shadow) - shadow);
  EXPECT_EQ(line.find("<small>"), std::string::npos) << line;
  const std::size_t home = run.out.find("href=\"absolute.html\"");
  ASSERT_NE(home, std::string::npos);
  EXPECT_NE(run.out.substr(home, run.out.find('\n', home) - home).find("<small>"),
            std::string::npos);
}

}  // namespace
}  // namespace cli
