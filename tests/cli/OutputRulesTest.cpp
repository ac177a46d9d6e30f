// What tessary-cli does with the names it writes to, tried as someone who
// can plant files in the folder would try it on a nightly run by root.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "ProgramRun.h"
#include "TempFolder.h"

namespace cli {
namespace {

namespace fs = std::filesystem;
using testing_support::ProgramRun;
using testing_support::ReadAll;
using testing_support::RunCli;
using testing_support::RunProgram;
using testing_support::RunScript;

using testing_support::kHint;

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

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

  // One kind of file a run writes: the command line that writes it to
  // `path`, and how the file begins.
  struct Output {
    const char* kind;
    std::function<std::vector<std::string>(const std::string& path)> args;
    const char* start;
  };

  std::vector<Output> Outputs() const {
    return {
        {"page",
         [this](const std::string& path) -> std::vector<std::string> {
           return {"-q", "-o", path, site_};
         },
         "<html>"},
        {"XML sitemap",
         [this](const std::string& path) -> std::vector<std::string> {
           return {"-q", "-o",         Path("out.html"), "--sitemap-xml",
                   path, "--site-url", "https://e.org/", site_};
         },
         "<?xml"},
        {"settings",
         [](const std::string& path) -> std::vector<std::string> {
           return {"--write-settings", path};
         },
         "txtTitle="},
    };
  }

  // Plants a link to `target` at each output's name in turn: the link is
  // replaced by the file, and what it led to is left exactly as it was.
  void ExpectLinksReplaced(const std::string& target, const std::function<bool()>& unchanged) {
    for (const Output& output : Outputs()) {
      SCOPED_TRACE(std::string(output.kind) + " over a link to " + target);
      const std::string name = Path("site/planted");
      ASSERT_EQ(::symlink(target.c_str(), name.c_str()), 0);
      const ProgramRun run = RunCli(output.args(name));
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_EQ(run.err, "");
      ASSERT_TRUE(IsRegularFile(name));
      EXPECT_TRUE(ReadAll(name).starts_with(output.start)) << ReadAll(name).substr(0, 40);
      EXPECT_TRUE(unchanged()) << target;
      fs::remove(name);
    }
  }

  const mapgen::testing_support::TempFolder temp_;
  const std::string site_ = Path("site");
};

TEST_F(OutputRules, ALinkAtAnOutputNameIsReplacedNeverFollowed) {
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0666), 0);
  ExpectLinksReplaced(Path("fifo"), [&] {
    struct stat info;
    return ::lstat(Path("fifo").c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
  });
  ExpectLinksReplaced("/dev/null", [] {
    struct stat info;
    return ::lstat("/dev/null", &info) == 0 && S_ISCHR(info.st_mode);
  });
  ExpectLinksReplaced(Path("folder"), [&] { return fs::is_empty(Path("folder")); });
  temp_.Write("precious", "precious");
  ExpectLinksReplaced(Path("precious"), [&] { return ReadAll(Path("precious")) == "precious"; });
}

// A loop device over a file of zeros stands for the disk a planted link
// could lead a root run onto.
TEST_F(OutputRules, ABlockDeviceIsNeverWrittenTo) {
  if (::geteuid() != 0) GTEST_SKIP() << "attaching a loop device needs root";
  const std::string disk = temp_.Write("disk", std::string(64 * 1024, '\0'));
  ProgramRun attached = RunProgram({"losetup", "--find", "--show", disk});
  if (attached.status != 0) GTEST_SKIP() << "no loop device to attach: " << attached.err;
  const std::string device = attached.out.substr(0, attached.out.find('\n'));
  const auto zeros = [&] {
    return ReadAll(device).substr(0, 64 * 1024) == std::string(64 * 1024, '\0');
  };
  ExpectLinksReplaced(device, zeros);
  for (const Output& output : Outputs()) {
    SCOPED_TRACE(output.kind);
    const ProgramRun run = RunCli(output.args(device));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tessary-cli: cannot write " + device + ": Is a block device\n");
  }
  EXPECT_TRUE(zeros());
  EXPECT_EQ(ReadAll(Path("page.html")), "old");
  RunProgram({"losetup", "--detach", device});
}

// What a reader of the pipe at `path` receives from the program that
// `write` runs.
std::string ReadFromPipe(const std::string& path, const std::function<ProgramRun()>& write) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  const ProgramRun run = write();
  EXPECT_EQ(run.status, 0) << run.err;
  std::string read;
  char buffer[4096];
  for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) read.append(buffer, got);
  ::close(fd);
  return read;
}

TEST_F(OutputRules, AStreamAtTheNameIsWrittenAFolderIsAnError) {
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0666), 0);
  for (const Output& output : Outputs()) {
    SCOPED_TRACE(output.kind);
    for (const std::string& folder : {Path("folder"), Path("folder/")}) {
      const ProgramRun run = RunCli(output.args(folder));
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.err, "tessary-cli: cannot write " + folder + ": Is a directory\n");
    }
    // Nothing of the set was put in place when one of its files failed.
    EXPECT_FALSE(fs::exists(Path("out.html")));
    const ProgramRun unread = RunCli(output.args(Path("fifo")));
    EXPECT_EQ(unread.status, 1);
    EXPECT_EQ(unread.err, "tessary-cli: cannot write " + Path("fifo") +
                              ": No such device or address (nothing reads from the pipe)\n");
    const std::string read =
        ReadFromPipe(Path("fifo"), [&] { return RunCli(output.args(Path("fifo"))); });
    EXPECT_TRUE(read.starts_with(output.start)) << read.substr(0, 40);
    const ProgramRun toNull = RunCli(output.args("/dev/null"));
    EXPECT_EQ(toNull.status, 0) << toNull.err;
    EXPECT_EQ(toNull.err, "");
    fs::remove(Path("out.html"));
  }
}

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
      {"exec \"$0\" -o - --sitemap-xml /dev/stdout --site-url https://e.org/ \"$1\"", 2,
       "the page and the XML sitemap are one file: /dev/stdout"},
      {"exec \"$0\" -o /dev/fd/1 --sitemap-xml - --site-url https://e.org/ \"$1\"", 2,
       "the page and the XML sitemap are one file: standard output"},
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

// As nobody /dev cannot be written; as root, in a mount namespace of its
// own, /dev could be, and its link /dev/stdout must survive.
TEST_F(OutputRules, TheSitemapGoesToStandardOutput) {
  ::chmod(temp_.path().c_str(), 0777);
  for (const char* name : {"/dev/stdout", "-"}) {
    SCOPED_TRACE(name);
    const ProgramRun run = RunCli({"-q", "-o", Path("out.html"), "--sitemap-xml", name,
                                   "--site-url", "https://e.org/", site_},
                                  false, true);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("<?xml")) << run.out.substr(0, 40);
    EXPECT_TRUE(ReadAll(Path("out.html")).starts_with("<html>"));
  }
  const ProgramRun asRoot = RunProgram(
      {"unshare", "--mount", "--propagation", "private", "sh", "-c",
       "mount -t tmpfs none /dev && ln -s /proc/self/fd/1 /dev/stdout || exit 99\n"
       "\"$0\" -q -o \"$1/out.html\" --sitemap-xml /dev/stdout --site-url https://e.org/ "
       "\"$1/site\"\n"
       "status=$?; ls -A /dev >&2; exit $status",
       TESSARY_CLI, temp_.path()});
  if (asRoot.status == 99 || asRoot.err.starts_with("unshare")) {
    GTEST_SKIP() << "no mount namespace of its own: " << asRoot.err;
  }
  EXPECT_EQ(asRoot.status, 0);
  EXPECT_TRUE(asRoot.out.starts_with("<?xml")) << asRoot.out.substr(0, 40);
  EXPECT_EQ(asRoot.err, "stdout\n");
}

// Every name of a run is checked before the first file is replaced: two
// outputs that are one file are a wrong command line, and an output that
// cannot be written leaves every other as it was.
TEST_F(OutputRules, OneRunsOutputsAreCheckedAsOneSet) {
  ASSERT_EQ(::symlink(site_.c_str(), Path("link").c_str()), 0);
  fs::create_directory(Path("locked"));
  ::chmod(Path("locked").c_str(), 0555);
  temp_.Write("site/kept.xml", "kept");
  ::chmod(Path("site/kept.xml").c_str(), 0444);
  for (const std::string& folder : {temp_.path(), site_}) ::chmod(folder.c_str(), 0777);
  ::chmod(Path("page.html").c_str(), 0666);
  const std::string page = Path("page.html");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"-o", page, "--sitemap-xml", page},
       2,
       "the page and the XML sitemap are one file: " + page},
      {{"-o", site_ + "/x.html", "--sitemap-xml", Path("link/x.html")},
       2,
       "the page and the XML sitemap are one file: " + Path("link/x.html")},
      {{"-o", site_ + "/s-2.xml", "--sitemap-xml", Path("link/s.xml")},
       2,
       "the page and a piece of the XML sitemap may be one file: " + site_ + "/s-2.xml"},
      {{"-o", page, "--sitemap-xml", Path("folder/")},
       1,
       "cannot write " + Path("folder/") + ": Is a directory"},
      {{"-o", page, "--sitemap-xml", Path("missing/s.xml")},
       1,
       "cannot write " + Path("missing/s.xml") + ": No such file or directory"},
      {{"-o", page, "--sitemap-xml", Path("locked/s.xml")},
       1,
       "cannot write " + Path("locked/s.xml") + ": cannot create a file in " + Path("locked") +
           ": Permission denied"},
      {{"-o", page, "--sitemap-xml", Path("site/kept.xml")},
       1,
       "cannot write " + Path("site/kept.xml") + ": Permission denied"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.err);
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--site-url", "https://e.org/", site_});
    const ProgramRun run = RunCli(args, false, true);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, "tessary-cli: " + c.err + "\n" + (c.status == 2 ? kHint : ""));
    EXPECT_EQ(ReadAll(page), "old");
    EXPECT_EQ(ReadAll(Path("site/kept.xml")), "kept");
    EXPECT_EQ(temp_.Entries("site"), (std::vector<std::string>{"index.html", "kept.xml", "sub"}));
  }
}

// A settings file says where the sitemap goes only below the page's
// folder, and a link on the way cannot take it elsewhere.
TEST_F(OutputRules, ASettingsFilesSitemapPathPassesNoLink) {
  ASSERT_EQ(::symlink(Path("folder").c_str(), Path("site/maps").c_str()), 0);
  const std::string settings =
      temp_.Write("site.tessary", "txtSitemapXml=maps/s.xml\ntxtSiteUrl=https://e.org/\n");
  const ProgramRun run = RunCli({"-q", "--settings", settings, site_});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tessary-cli: cannot write " + site_ + "/maps/s.xml: Not a directory\n");
  EXPECT_TRUE(fs::is_empty(Path("folder")));
  EXPECT_FALSE(fs::exists(site_ + "/sitemap.html"));
  fs::remove(Path("site/maps"));
  fs::create_directory(Path("site/maps"));
  EXPECT_EQ(RunCli({"-q", "--settings", settings, site_}).status, 0);
  EXPECT_TRUE(ReadAll(site_ + "/maps/s.xml").starts_with("<?xml"));
}

}  // namespace
}  // namespace cli
