// The site's pages as a person meets them: a real headless Chromium loads
// each kind of page from a running site holding a few known reports, and the
// test reads the DOM it built. With CAVIO_SITE_SCREENSHOTS set to a folder,
// each page kind is also photographed there, light and dark.
#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "report/report_json.h"
#include "site/site_fixtures.h"

namespace {

using namespace site_fixtures;

void set_rows(report_document& document, const std::string& name, const std::string& value) {
    for (report_group& group : document.adapters.at(0).groups) {
        for (report_page& page : group.pages) {
            for (report_row& row : page.rows) {
                if (row.name == name) {
                    row.value = value;
                    row.wire_value.reset();
                }
            }
        }
    }
}

std::string chromium(const std::string& arguments, const std::string& url) {
    char folder[] = "/tmp/cavio-chromium-XXXXXX";
    const std::string profile = mkdtemp(folder);
    const std::string out = profile + "/out";
    shell(
        "chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
        "--disable-background-networking --disable-component-update --disable-sync --hide-scrollbars "
        "--user-data-dir=" +
        profile + " " + arguments + " '" + url + "' >" + out + " 2>/dev/null");
    const std::string text = read_file(out);
    shell("rm -rf " + profile);
    return text;
}

class Browser : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        site_ = new running_site(fresh_database("sqlite"));
        const std::string golden = read_file(std::string(CAVIO_GOLDEN_DIR) + "/report.json");
        const report_document document = *read_report_json(golden, "golden");
        // 1: the golden report; 2: its legacy text; 3: a board of hostile
        // names; 4: another vendor's board without an extension.
        report_document hostile = document;
        hostile.adapters[0].description = "<script>alert(1)</script>";
        set_rows(hostile, "Description", "<script>alert(1)</script>");
        set_rows(hostile, "Device", "<script>alert(1)</script>");
        set_rows(hostile, "Renderer", "\" onmouseover=\"alert(2)");
        set_rows(hostile, "Driver version", "8.17.18.20");
        report_document other = document;
        other.adapters[0].description = "Other Board";
        set_rows(other, "Vendor", "Intel Corporation (0x8086)");
        set_rows(other, "Device ID", "0x5912");
        set_rows(other, "GPU", "Intel: HD Graphics 630");
        set_rows(other, "GL_ARB_multitexture", "no");
        set_rows(other, "MaxTextureWidth", "1");
        // 5: a board the PCI list does not know, whose name is long and
        // turns the text around it right to left.
        report_document turned = document;
        turned.adapters[0].description = "Turned Board";
        set_rows(turned, "Vendor", "Nobody Inc. (0xFFFE)");
        set_rows(turned, "Device ID", "0x0001");
        set_rows(turned, "GPU", "\xE2\x80\xAE" + long_name());
        httplib::Client client("127.0.0.1", site_->port());
        client.Post("/api/reports", golden, "application/json");
        client.Post("/submitter.php", viewer_form(golden_submission()), "application/x-www-form-urlencoded");
        client.Post("/api/reports", report_json(hostile, "cavio", "1.2.3.4"), "application/json");
        client.Post("/api/reports", report_json(other, "cavio", "1.2.3.4"), "application/json");
        client.Post("/api/reports", report_json(turned, "cavio", "1.2.3.4"), "application/json");
    }

    static std::string long_name() {
        std::string name;
        for (int i = 0; name.size() < 300; ++i) {
            name += "Board" + std::to_string(i) + " ";
        }
        return name;
    }
    static void TearDownTestSuite() { delete site_; }

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(site_->port()) + path;
    }

    static running_site* site_;
};

running_site* Browser::site_ = nullptr;

// What every page must be: landmarks, tables with headers, every control
// labelled, and nothing a report carried turned into script or markup.
void expect_sound_page(const std::string& dom, const std::string& path) {
    SCOPED_TRACE(path);
    EXPECT_NE(std::string::npos, dom.find("<main")) << "no main landmark";
    EXPECT_NE(std::string::npos, dom.find("<nav")) << "no navigation";
    EXPECT_EQ(std::string::npos, dom.find("<script")) << "a script element";
    EXPECT_EQ(std::string::npos, dom.find("<img")) << "an image element";
    EXPECT_FALSE(std::regex_search(dom, std::regex("<[^>]*\\son[a-z]+\\s*=")))
        << "an event handler attribute";
    const auto count = [&dom](const std::string& text) {
        size_t found = 0;
        for (size_t at = dom.find(text); at != std::string::npos; at = dom.find(text, at + 1)) {
            ++found;
        }
        return found;
    };
    const size_t tables = count("<table");
    const size_t headed = count("<thead><tr><th scope=\"col\"");
    EXPECT_GE(headed, tables) << "a table without column headers";
    // Each control sits in its label, or names itself.
    int label_depth = 0;
    const std::regex tag("<(/?)(label|input|select)([^>]*)>");
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), tag); it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[2];
        const std::string attributes = (*it)[3];
        if (name == "label") {
            label_depth += (*it)[1] == "/" ? -1 : 1;
        } else if (attributes.find("type=\"hidden\"") == std::string::npos) {
            EXPECT_TRUE(label_depth > 0 || attributes.find("aria-label=") != std::string::npos)
                << "an unlabelled control: " << it->str();
        }
    }
}

TEST_F(Browser, EveryKindOfPageShowsItsReportsSafely) {
    const std::string chosen = "aria-current=\"page\"";
    const std::vector<std::pair<std::string, std::vector<std::string>>> pages = {
        // A name is the PCI list's where it knows the board (report 3 named it
        // "<script>"), and a long one is shortened and isolated.
        {"/",
         {"NVIDIA: GF100 [GeForce GTX 470]", "Intel: HD Graphics 630", "4 devices",
          "<bdi>\xE2\x80\xAE" + long_name().substr(0, 119) + "\xE2\x80\xA6</bdi>"}},
        {"/devices/10DE:06CD", {"Report 1", "Report 3", "8.17.18.20", "Compare"}},
        {"/reports/99", {"Not found", "There is no report 99."}},
        {"/reports/1?page=vk_features",
         {"Vulkan \xE2\x80\x94 Features", "geometryShader", "class=\"yes\">yes", "class=\"no\">no",
          "/coverage?page=vk_features&amp;name=geometryShader", chosen + ">Features", "Download"}},
        {"/reports/2?page=gl_extensions",
         {"OpenGL \xE2\x80\x94 Extensions", "GL_ARB_multitexture", "by the viewer's Submit"}},
        {"/reports/3", {"&lt;script&gt;alert(1)&lt;/script&gt;"}},
        {"/reports/3?page=gl_summary", {"\" onmouseover=\"alert(2)"}},
        {"/compare?a=1&b=3&only=1",
         {"rows differ on", "class=\"differs\"", "8.17.18.19", "8.17.18.20", "Differences only"}},
        {"/coverage?page=gl_extensions&name=GL_ARB_multitexture",
         {"2 of 3 devices", "NVIDIA Corporation", "Intel Corporation", "Since driver", "8.17.18.19"}},
        {"/coverage?page=vk_features&name=GEOMETRYSHADER",
         {"4 of 4 devices", "Features: geometryShader</h2>"}},
        // Every report says "none" for this format's features: no device has it.
        {"/coverage?page=vk_formats&name=VK_FORMAT_R8_SNORM", {"0 of 4 devices"}},
        // The whole field: a listing (the Intel board lacks an extension), a
        // format's capabilities, the statistics, three reports side by side.
        {"/listing?page=gl_extensions&q=ARB_MULTI",
         {"How common is each row?", "/coverage?page=gl_extensions&amp;name=GL_ARB_multitexture", "<meter",
          "<bdi>yes</bdi> <small>", "<bdi>no</bdi> <small>1</small>", chosen + ">Extensions"}},
        {"/listing?page=dx_textures&q=maxtexturewidth", {"<bdi>1</bdi> <small>1</small>", "<td>1</td>"}},
        {"/listing?page=dx_formats",
         {"DXGI_FORMAT_R8G8B8A8_UNORM", "What devices can do with it", "%</small>"}},
        {"/listing", {"How common is each row?", "/listing?page=vk_limits"}},
        {"/statistics",
         {"Vendors", "href=\"/?vendor=0x10de\"", "Intel Corporation", "Direct3D feature levels",
          "OpenGL versions", "Vulkan versions", "Reports received each month", "4 devices"}},
        {"/compare?r=1&r=3&r=4&only=1",
         {"Reports 1, 3, 4 compared", "Report 4", "Intel: HD Graphics 630", "class=\"differs\"",
          "8.17.18.20"}},
        {"/?sort=name&vk=1.3", {"by name", "with Vulkan 1.3"}},
    };
    for (const auto& [path, expected] : pages) {
        const std::string dom = chromium("--dump-dom", url(path));
        EXPECT_EQ(std::string::npos, dom.find("&lt;script&gt;alert(1)&lt;/script&gt;</a>"))
            << path << ": a report named a device";
        ASSERT_FALSE(dom.empty()) << "Chromium gave nothing for " << path;
        for (const std::string& text : expected) {
            EXPECT_NE(std::string::npos, dom.find(text)) << path << " lacks " << text;
        }
        expect_sound_page(dom, path);
    }
    // The headers that keep a report's texts from ever running as script.
    httplib::Client client("127.0.0.1", site_->port());
    const httplib::Result page = client.Get("/reports/3");
    ASSERT_TRUE(page);
    EXPECT_NE(std::string::npos,
              page->get_header_value("Content-Security-Policy").find("default-src 'none'"));
    EXPECT_EQ("nosniff", page->get_header_value("X-Content-Type-Options"));
    EXPECT_EQ(404, client.Get("/reports/99")->status);

    if (const char* folder = std::getenv("CAVIO_SITE_SCREENSHOTS")) {
        const std::string dark = "--blink-settings=preferredColorScheme=0";
        for (const auto& [file, path, size, look] :
             {std::tuple{"site-devices.png", "/", "1100,420", ""},
              std::tuple{"site-report-vulkan.png", "/reports/1?page=vk_features", "1100,700", ""},
              std::tuple{"site-compare.png", "/compare?a=1&b=3&only=1", "1100,700", ""},
              std::tuple{"site-coverage-gl.png", "/coverage?page=gl_extensions&name=GL_ARB_multitexture",
                         "1100,760", ""},
              std::tuple{"site-coverage-vulkan.png", "/coverage?page=vk_features&name=geometryShader",
                         "1100,600", ""},
              std::tuple{"site-report-dark.png", "/reports/1?page=dx_textures", "1100,600", dark.c_str()},
              std::tuple{"site-devices-narrow-dark.png", "/", "360,640", dark.c_str()},
              std::tuple{"site-listing.png", "/listing?page=dx_textures", "1100,700", ""},
              std::tuple{"site-listing-dark.png", "/listing?page=vk_formats", "1100,700", dark.c_str()},
              std::tuple{"site-listing-narrow.png", "/listing?page=vk_limits", "360,740", ""},
              std::tuple{"site-statistics.png", "/statistics", "1100,760", ""},
              std::tuple{"site-statistics-dark.png", "/statistics", "1100,760", dark.c_str()},
              std::tuple{"site-statistics-narrow.png", "/statistics", "360,740", ""},
              std::tuple{"site-compare-three.png", "/compare?r=1&r=3&r=4&only=1", "1100,700", ""},
              std::tuple{"site-compare-three-dark.png", "/compare?r=1&r=3&r=4&only=1", "1100,700",
                         dark.c_str()},
              std::tuple{"site-compare-three-narrow.png", "/compare?r=1&r=3&r=4&only=1", "360,740", ""}}) {
            chromium(std::string(look) + " --screenshot=" + folder + "/" + file + " --window-size=" + size,
                     url(path));
        }
    }
}

// At 360 pixels, as a phone shows it: Chromium lays out each page with the
// site's own stylesheet, and a script of the test's (the site's pages allow
// none) counts the cells that end past the window's edge, and whether the
// page is wider than the window.
TEST_F(Browser, ANarrowWindowKeepsEveryValueInView) {
    httplib::Client client("127.0.0.1", site_->port());
    const std::string sheet = client.Get("/style.css")->body;
    const std::string link = "<link rel=\"stylesheet\" href=\"/style.css\">";
    const std::string measure =
        "<script>addEventListener('load', function () { var out = []; "
        "document.querySelectorAll('td, tbody th').forEach(function (cell) { var box = "
        "cell.getBoundingClientRect(); "
        "if (box.width > 0 && box.right > innerWidth + 0.5) out.push(cell.textContent.slice(0, 40)); }); "
        "document.body.setAttribute('data-outside', out.length + ': ' + out.slice(0, 3).join(' | ')); "
        "document.body.setAttribute('data-wide', document.documentElement.scrollWidth > innerWidth ? 'yes' : "
        "'no'); "
        "});</script>";
    char folder[] = "/tmp/cavio-narrow-XXXXXX";
    const std::string made = mkdtemp(folder);
    for (const std::string path :
         {"/", "/devices/10DE:06CD", "/reports/1?page=vk_limits", "/reports/1?page=vk_formats",
          "/compare?r=1&r=3&r=4", "/coverage?page=gl_extensions&name=GL_ARB_multitexture",
          "/listing?page=vk_limits", "/listing?page=vk_formats", "/listing?page=dx_textures",
          "/statistics"}) {
        std::string page = client.Get(path)->body;
        ASSERT_NE(std::string::npos, page.find(link)) << path;
        page.replace(page.find(link), link.size(), "<style>" + sheet + "</style>");
        page.insert(page.find("</body>"), measure);
        const std::string file = made + "/page.html";
        std::ofstream(file) << page;
        const std::string dom =
            chromium("--dump-dom --window-size=360,800 --virtual-time-budget=5000", "file://" + file);
        const size_t body = dom.find("<body");
        EXPECT_NE(std::string::npos, dom.find("data-outside=\"0: \""))
            << path << ": " << dom.substr(body == std::string::npos ? 0 : body, 120);
        EXPECT_NE(std::string::npos, dom.find("data-wide=\"no\"")) << path;
    }
    shell("rm -rf " + made);
}

}  // namespace
