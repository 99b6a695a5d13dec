// The manifest parse as a table of documents. Portable: it runs natively with the sanitizers
// and under Wine; each document is parsed in place from a buffer of exactly its size plus the
// terminator, so a read past the text is caught.
#include "discovery/version_manifest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Version(const PlayerVersion& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
           std::to_string(v.buildMajor) + "." + std::to_string(v.buildMinor);
}

const char kActiveX[] = R"(<ActiveX major="11" minor="3" buildMajor="300" buildMinor="265"/>)";
const char kPlugin[] = R"(<Plugin major="11" minor="4" buildMajor="301" buildMinor="266"/>)";
const char kSAUConfig[] = R"(<SAUConfig checkFrequency="2"/>)";
const char kExpected[] = "11.3.300.265 11.4.301.266 2";

std::string Manifest(const std::string& activeX = kActiveX, const std::string& plugin = kPlugin,
                     const std::string& sauConfig = kSAUConfig) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<version>\n  " + activeX + "\n  " + plugin +
           "\n  " + sauConfig + "\n</version>\n";
}

// The complete manifest with one attribute of one element left out.
std::string Without(const std::string& element, const std::string& attribute) {
    std::string activeX = kActiveX, plugin = kPlugin, sauConfig = kSAUConfig;
    std::string& target = element == "ActiveX" ? activeX : element == "Plugin" ? plugin : sauConfig;
    size_t at = target.find(" " + attribute + "=\"");
    size_t end = target.find('"', target.find('"', at) + 1);
    target.erase(at, end + 1 - at);
    return Manifest(activeX, plugin, sauConfig);
}

// The complete manifest with one number of the ActiveX element replaced.
std::string ActiveXMajor(const std::string& value) {
    return Manifest("<ActiveX major=\"" + value +
                    "\" minor=\"3\" buildMajor=\"300\" buildMinor=\"265\"/>");
}

const char kNginx404[] =
    "<html>\r\n<head><title>404 Not Found</title></head>\r\n<body>\r\n"
    "<center><h1>404 Not Found</h1></center>\r\n<hr><center>nginx</center>\r\n"
    "</body>\r\n</html>\r\n";

const char kWellFormedErrorPage[] =
    "<!DOCTYPE html>\n<html><head><title>Service Unavailable</title></head>"
    "<body><h1>503</h1><p>Try again later.</p></body></html>\n";

struct Row {
    std::string name;
    std::string document;
    int code;              // 0: parsed
    std::string manifest;  // when parsed: "activeX plugin checkFrequency"
};

std::vector<Row> Rows() {
    std::vector<Row> rows = {
        {"complete", Manifest(), 0, kExpected},
        {"complete, no declaration, on one line",
         std::string("<version>") + kActiveX + kPlugin + kSAUConfig + "</version>", 0, kExpected},
        {"elements in another order, attributes in another order",
         "<version><SAUConfig checkFrequency=\"2\"></SAUConfig>"
         "<Plugin buildMinor=\"266\" buildMajor=\"301\" minor=\"4\" major=\"11\"/>"
         "<ActiveX buildMinor=\"265\" major=\"11\" buildMajor=\"300\" minor=\"3\"/></version>",
         0, kExpected},
        {"everything else ignored",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE version>\n<!-- comment -->\n<?pi data?>\n"
         "<other/>\n<version note=\"x\">text<!-- c --><Extra a=\"1\"/>" +
             std::string(kActiveX) + "<![CDATA[<Plugin major=\"1\"/>]]>" + kPlugin +
             "<SAUConfig other=\"5\" checkFrequency=\"2\">more</SAUConfig></version>\n<after/>",
         0, kExpected},
        {"later duplicates ignored",
         Manifest(std::string(kActiveX) + "<ActiveX major=\"1\" minor=\"1\" buildMajor=\"1\" "
                                          "buildMinor=\"1\"/>",
                  R"(<Plugin major="11" major="99" minor="4" buildMajor="301" buildMinor="266"/>)",
                  std::string(kSAUConfig) + "<SAUConfig checkFrequency=\"3\"/>"),
         0, kExpected},
        {"character references translated",
         Manifest(R"(<ActiveX major="&#49;&#x31;" minor="3" buildMajor="300" buildMinor="265"/>)"),
         0, kExpected},
        {"a UTF-8 byte-order mark", "\xEF\xBB\xBF" + Manifest(), 0, kExpected},
        {"mismatched closing tags accepted",
         "<version><ActiveX major=\"11\" minor=\"3\" buildMajor=\"300\" buildMinor=\"265\">"
         "</Plugin>" +
             std::string(kPlugin) + "<SAUConfig checkFrequency=\"2\"></x></versions>",
         0, kExpected},
        {"checkFrequency 0 is returned as 0",
         Manifest(kActiveX, kPlugin, R"(<SAUConfig checkFrequency="0"/>)"), 0,
         "11.3.300.265 11.4.301.266 0"},
        {"checkFrequency 9 is returned as 9",
         Manifest(kActiveX, kPlugin, R"(<SAUConfig checkFrequency="9"/>)"), 0,
         "11.3.300.265 11.4.301.266 9"},
        {"number 011", ActiveXMajor("011"), 0, "11.3.300.265 11.4.301.266 2"},
        {"number 11.5", ActiveXMajor("11.5"), 0, "11.3.300.265 11.4.301.266 2"},
        {"number abc", ActiveXMajor("abc"), 0, "0.3.300.265 11.4.301.266 2"},
        {"number empty", ActiveXMajor(""), 0, "0.3.300.265 11.4.301.266 2"},
        {"number -1", ActiveXMajor("-1"), 0, "4294967295.3.300.265 11.4.301.266 2"},
        {"number 4294967295", ActiveXMajor("4294967295"), 0, "4294967295.3.300.265 11.4.301.266 2"},
        {"number 4294967296", ActiveXMajor("4294967296"), 0, "4294967295.3.300.265 11.4.301.266 2"},
        {"number with blanks and a plus", ActiveXMajor(" \t+12 "), 0,
         "12.3.300.265 11.4.301.266 2"},
        {"number -4294967295", ActiveXMajor("-4294967295"), 0, "1.3.300.265 11.4.301.266 2"},
        // Failures: the one code of the first problem.
        {"empty body", "", 1411, ""},
        {"white space only", " \r\n\t ", 1411, ""},
        {"declaration only", "<?xml version=\"1.0\"?>", 1411, ""},
        {"plain text", "Service Unavailable", 1431, ""},
        {"nginx 404 page (unclosed hr)", kNginx404, 1431, ""},
        {"well-formed HTML error page", kWellFormedErrorPage, 1411, ""},
        {"version nested deeper",
         std::string("<root><version>") + kActiveX + kPlugin + kSAUConfig + "</version></root>",
         1411, ""},
        {"ActiveX nested deeper", Manifest("<group>" + std::string(kActiveX) + "</group>"), 1437,
         ""},
        {"Version in another case",
         "<Version>" + std::string(kActiveX) + kPlugin + kSAUConfig + "</Version>", 1411, ""},
        {"activex in another case",
         Manifest(R"(<activex major="11" minor="3" buildMajor="300" buildMinor="265"/>)"), 1437,
         ""},
        {"plugin in another case",
         Manifest(kActiveX, R"(<PlugIn major="11" minor="4" buildMajor="301" buildMinor="266"/>)"),
         1438, ""},
        {"SAUConfig in another case",
         Manifest(kActiveX, kPlugin, R"(<SauConfig checkFrequency="2"/>)"), 1439, ""},
        {"Major in another case",
         Manifest(R"(<ActiveX Major="11" minor="3" buildMajor="300" buildMinor="265"/>)"), 1434,
         ""},
        {"buildminor in another case",
         Manifest(kActiveX, R"(<Plugin major="11" minor="4" buildMajor="301" buildminor="266"/>)"),
         1435, ""},
        {"checkfrequency in another case",
         Manifest(kActiveX, kPlugin, R"(<SAUConfig checkfrequency="2"/>)"), 1436, ""},
        {"no ActiveX", Manifest("", kPlugin, kSAUConfig), 1437, ""},
        {"no Plugin", Manifest(kActiveX, "", kSAUConfig), 1438, ""},
        {"no SAUConfig", Manifest(kActiveX, kPlugin, ""), 1439, ""},
        {"nothing under version", "<version/>", 1437, ""},
        {"no ActiveX and no Plugin: the first problem", Manifest("", "", kSAUConfig), 1437, ""},
        {"ActiveX attribute missing and no Plugin: the first problem",
         Manifest(R"(<ActiveX major="11" minor="3" buildMajor="300"/>)", "", ""), 1434, ""},
        {"unterminated element", Manifest().substr(0, 70), 1431, ""},
        {"unquoted attribute", "<version><ActiveX major=11/></version>", 1431, ""},
        {"an attribute without a value", "<version><ActiveX major/></version>", 1431, ""},
        {"a zero byte inside the Plugin element",
         [] {
             std::string document = Manifest();
             document[document.find("<Plugin") + 10] = '\0';
             return document;
         }(),
         1431, ""},
        {"a zero byte after the version element", Manifest() + std::string(1, '\0') + "<junk", 0,
         kExpected},
    };
    for (const char* attribute : {"major", "minor", "buildMajor", "buildMinor"}) {
        rows.push_back(
            {std::string("ActiveX without ") + attribute, Without("ActiveX", attribute), 1434, ""});
        rows.push_back(
            {std::string("Plugin without ") + attribute, Without("Plugin", attribute), 1435, ""});
    }
    rows.push_back(
        {"SAUConfig without checkFrequency", Without("SAUConfig", "checkFrequency"), 1436, ""});
    return rows;
}

TEST(ParseVersionManifest, Table) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        std::vector<char> text(row.document.begin(), row.document.end());
        text.push_back('\0');
        VersionManifest manifest;
        manifest.activeX.major = 77;  // a sentinel: a failed parse leaves it
        manifest.checkFrequency = 77;
        const LogCode* failure = nullptr;
        bool parsed = ParseVersionManifest(text.data(), &manifest, &failure);
        if (row.code == 0) {
            ASSERT_TRUE(parsed) << (failure ? failure->number : 0);
            EXPECT_EQ(failure, nullptr);
            EXPECT_EQ(Version(manifest.activeX) + " " + Version(manifest.plugin) + " " +
                          std::to_string(manifest.checkFrequency),
                      row.manifest);
            EXPECT_EQ(manifest.activeX.flavour, PlayerFlavour::ActiveX);
            EXPECT_EQ(manifest.plugin.flavour, PlayerFlavour::Plugin);
        } else {
            EXPECT_FALSE(parsed);
            ASSERT_NE(failure, nullptr);
            EXPECT_EQ(failure->number, row.code);
            EXPECT_EQ(failure->level, kWarning);
            EXPECT_EQ(manifest.activeX.major, 77u) << "no part of a manifest reaches the caller";
            EXPECT_EQ(manifest.checkFrequency, 77u);
        }
    }
}

TEST(ParseVersionManifest, TheNamedCodesAreTheTableEntries) {
    std::vector<char> text(1, '\0');
    VersionManifest manifest;
    const LogCode* failure = nullptr;
    EXPECT_FALSE(ParseVersionManifest(text.data(), &manifest, &failure));
    EXPECT_EQ(failure, &kManifestNoVersion);
}

}  // namespace
