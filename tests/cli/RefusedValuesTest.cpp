// Every value a field refuses is refused whichever way it comes: a flag,
// --set, or a line of a settings file.

#include <gtest/gtest.h>

#include <optional>

#include "ProgramRun.h"
#include "TempFolder.h"

namespace cli {
namespace {

using testing_support::ProgramRun;
using testing_support::RunCli;

using testing_support::kHint;

// How a field is given a value on the command line, and how the message
// of a refused one begins.
struct Source {
  std::vector<std::string> args;
  std::string prefix;
};

// A value as a settings file writes it.
std::string Escaped(const std::string& value) {
  std::string escaped;
  for (const char c : value) {
    if (c == '\n') {
      escaped += "\\n";
    } else if (c == '\\') {
      escaped += "\\\\";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

class RefusedValues : public testing::Test {
 protected:
  // The sources of `value` for `field`: --set and a settings file always,
  // and the flag `flag` when the field has one (a flag ending in "-file"
  // takes the value from a file).
  std::vector<Source> Sources(const std::string& field, const std::string& value,
                              const std::optional<std::string>& flag) const {
    const std::string settings =
        temp_.Write("refused.tessary", "# a comment\n" + field + "=" + Escaped(value) + "\n");
    std::vector<Source> sources = {{{"--settings", settings}, settings + ":2: "}};
    if (value.find('\0') == std::string::npos) {
      sources.push_back({{"--set", field + "=" + value}, "--set: "});
    }
    if (flag && flag->ends_with("-file")) {
      sources.push_back({{*flag, temp_.Write("value.txt", value)}, *flag + ": "});
    } else if (flag) {
      sources.push_back({{*flag, value}, *flag + ": "});
    }
    return sources;
  }

  const mapgen::testing_support::TempFolder temp_;
};

// What a terminal shows of a value: control characters as \xHH.
std::string Shown(const std::string& value) {
  std::string shown;
  for (const unsigned char c : value) {
    if (c < 0x20 || c == 0x7F) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      shown += std::string("\\x") + kHex[c >> 4] + kHex[c & 15];
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}

TEST_F(RefusedValues, AreRefusedFromEverySource) {
  const std::string kSiteUrl = "txtSiteUrl takes an address ";
  const std::string kPrefix =
      "txtLinkPrefix takes a relative path or an http:, https:, ftp: or file: address, not ";
  const struct {
    std::string field;
    std::string value;
    std::optional<std::string> flag;
    std::string reason;  // what is wrong, before the value shown
  } cases[] = {
      {"txtTitle", std::string("a\0b", 3), {}, "txtTitle takes text without a NUL character, not "},
      {"txtPreface", std::string("a\0b", 3), "--preface-file",
       "txtPreface takes text without a NUL character, not "},
      {"txtExclude", "private/secret.html", "--exclude",
       "txtExclude takes globs of names, which hold no /, not "},
      {"txtSiteUrl", "ex.org", "--site-url",
       kSiteUrl + "that starts with http:// or https://, not "},
      {"txtSiteUrl", "javascript:alert(1)", "--site-url",
       kSiteUrl + "that starts with http:// or https://, not "},
      {"txtSiteUrl", "https://e.org/\n0 * * * * root sh /tmp/x", "--site-url",
       kSiteUrl + "without spaces or control characters, not "},
      {"txtSiteUrl", "https://e.org/a b", "--site-url",
       kSiteUrl + "without spaces or control characters, not "},
      {"txtSiteUrl", "https://e.org/\x7F", "--site-url",
       kSiteUrl + "without spaces or control characters, not "},
      {"txtSiteUrl", "https://e.org/\xFF", "--site-url", "txtSiteUrl takes UTF-8 text, not "},
      {"txtSiteUrl", "https:///docs/", "--site-url", kSiteUrl + "with a host, not "},
      {"txtSiteUrl",
       "https://b\xC3\xBC"
       "cher.de/",
       "--site-url", kSiteUrl + "whose host is ASCII (its xn-- form), not "},
      {"txtSiteUrl", "https://u:p@e.org/", "--site-url", kSiteUrl + "without a user name, not "},
      {"txtSiteUrl", "https://e.org/?a=1", "--site-url",
       kSiteUrl + "without a query or fragment, not "},
      {"txtSiteUrl", "https://e.org/#top", "--site-url",
       kSiteUrl + "without a query or fragment, not "},
      {"txtLinkPrefix", "javascript:alert(1)", "--link-prefix", kPrefix},
      {"txtLinkPrefix", "  JavaScript:alert(1)", "--link-prefix", kPrefix},
      {"txtLinkPrefix", "java\tscript:alert(1)", "--link-prefix", kPrefix},
      {"txtLinkPrefix", "data:text/html,<script>", "--link-prefix", kPrefix},
      {"txtLinkPrefix", "VBScript:x", "--link-prefix", kPrefix},
      {"txtSitemapXml",
       "../../.bashrc",
       {},
       "txtSitemapXml takes a path below the page's folder, not "},
      {"txtSitemapXml",
       "/etc/cron.d/sitemap",
       {},
       "txtSitemapXml takes a path below the page's folder, not "},
      {"txtSitemapXml",
       "maps/../../x.xml",
       {},
       "txtSitemapXml takes a path below the page's folder, not "},
      {"txtRobotsTxt",
       "../robots.txt",
       {},
       "txtRobotsTxt takes a path below the page's folder, not "},
      {"cmbTemplate", "fancy", "--template", "cmbTemplate takes classic, modern or nothing, not "},
      {"cmbLastmod", "Git", "--lastmod", "cmbLastmod takes file, git or nothing, not "},
      {"cmbLastmod", "svn", "--lastmod", "cmbLastmod takes file, git or nothing, not "},
  };
  for (const auto& c : cases) {
    for (const Source& source : Sources(c.field, c.value, c.flag)) {
      SCOPED_TRACE(testing::PrintToString(source.args));
      std::vector<std::string> args = source.args;
      args.push_back(temp_.path());
      const ProgramRun run = RunCli(args);
      EXPECT_EQ(run.status, 2);
      EXPECT_EQ(run.err,
                "tessary-cli: " + source.prefix + c.reason + Shown(c.value) + "\n" + kHint);
      EXPECT_EQ(run.out, "");
    }
  }
}

TEST_F(RefusedValues, NeighboursOfRefusedValuesAreTaken) {
  const struct {
    std::string field;
    std::string value;
  } cases[] = {
      {"txtExclude", "*.bak\nnode_modules"},
      {"txtSiteUrl", "https://e.org"},
      {"txtSiteUrl", "HTTP://E.org:8080/docs/d\xC3\xA9j\xC3\xA0/"},
      {"txtSiteUrl", "http://[::1]:8080/"},
      {"txtSiteUrl", ""},
      {"txtLinkPrefix", "https://e.org/docs/"},
      {"txtLinkPrefix", " FILE:///srv/www/"},
      {"txtLinkPrefix", "ftp://e.org/"},
      {"txtLinkPrefix", "../docs/"},
      {"txtLinkPrefix", "docs/a:b/"},
      {"txtSitemapXml", "maps/sitemap.xml.gz"},
      {"txtSitemapXml", "..sitemap.xml"},
      {"cmbTemplate", ""},
      {"txtRobotsTxt", "robots.txt"},
      {"cmbLastmod", "git"},
      {"cmbLastmod", ""},
  };
  for (const auto& c : cases) {
    for (const Source& source : Sources(c.field, c.value, {})) {
      SCOPED_TRACE(testing::PrintToString(source.args));
      std::vector<std::string> args = {"--site-url", "https://e.org/"};
      args.insert(args.end(), source.args.begin(), source.args.end());
      args.insert(args.end(), {"--write-settings", "-"});
      const ProgramRun run = RunCli(args);
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_NE(run.out.find("\n" + c.field + "=" + Escaped(c.value) + "\n"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace cli
