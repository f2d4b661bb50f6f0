// cavio-report's options and what each does, on Windows and Linux alike.
#include "cli/report_program.h"

#include <algorithm>
#include <cstdio>

#include "base/build_info.h"
#include "report/compare.h"
#include "report/page_text.h"
#include "report/report_json.h"
#include "submit/delivery.h"
#include "submit/site_address.h"
#include "submit/submission.h"

void say(std::string sentence) {
    while (!sentence.empty() && (sentence.back() == '.' || sentence.back() == ' ')) {
        sentence.pop_back();
    }
    std::fprintf(stderr, "cavio-report: %s\n", sentence.c_str());
}

namespace {

// One line that names what is wrong; the usage is a --help away.
int usage_error(const std::string& what) {
    say(what + "; see --help");
    return 2;
}

}  // namespace

int run_report_program(const std::vector<std::string>& args, const report_program_platform& platform) {
    const std::string outputs = platform.submission ? "--json, --submission" : "--json";
    enum class output_kind { text, json, submission, compare, submit } kind = output_kind::text;
    std::string site = product_site_url;
    std::string output;
    std::vector<std::string> compared;
    std::vector<std::string> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.starts_with("-") && std::find(seen.begin(), seen.end(), arg) != seen.end()) {
            return usage_error(arg + " is given twice");
        }
        seen.push_back(arg);
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            std::fputs(platform.usage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("cavio-report %s\n", platform.version.c_str());
            return 0;
        }
        if (arg == "--json" || (arg == "--submission" && platform.submission)) {
            if (kind != output_kind::text) {
                return usage_error("choose one of " + outputs + " and --compare");
            }
            kind = arg == "--json" ? output_kind::json : output_kind::submission;
        } else if (arg == "--output") {
            if (i + 1 >= args.size()) {
                return usage_error("--output needs a file name");
            }
            output = args[++i];
        } else if (arg == "--submit") {
            if (kind != output_kind::text) {
                return usage_error("choose one of " + outputs + ", --submit and --compare");
            }
            kind = output_kind::submit;
            if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
                site = args[++i];
                if (!is_plain_http_address(site)) {
                    return usage_error("--submit needs an address that starts http://, not " + site);
                }
            }
        } else if (arg == "--compare") {
            if (kind != output_kind::text) {
                return usage_error("choose one of " + outputs + " and --compare");
            }
            kind = output_kind::compare;
            while (i + 1 < args.size() && !args[i + 1].starts_with("--") && compared.size() < 2) {
                compared.push_back(args[++i]);
            }
            if (compared.empty()) {
                return usage_error("--compare needs a saved report");
            }
        } else if (!arg.starts_with("-") && !arg.starts_with("/")) {
            return usage_error("unexpected argument " + arg);
        } else {
            return usage_error("unknown option " + arg);
        }
    }

    if (kind == output_kind::compare) {
        std::vector<report_document> documents;
        for (const std::string& path : compared) {
            result<report_document> read = read_report_file(path);
            if (!read) {
                say(read.why().sentence);
                return 2;
            }
            documents.push_back(std::move(*read));
        }
        if (documents.size() == 1) {
            documents.push_back(platform.this_machine());
        }
        const std::vector<adapter_differences> differences = report_differences(documents[0], documents[1]);
        if (!platform.write_out(differences_text(differences), output)) {
            return 2;
        }
        return differences.empty() ? 0 : 1;
    }

    const report_document document = platform.this_machine();
    // A header alone would read as a machine without graphics adapters.
    if (document.adapters.empty()) {
        say(platform.nothing_read);
        return 1;
    }
    if (kind == output_kind::submit) {
        http_component http;
        const result<delivery> delivered = deliver(http, site, submission_text(document),
                                                   report_json(document, "cavio-report", platform.version));
        if (!delivered) {
            say(site + ": " + delivered.why().message());
            return 1;
        }
        std::printf("%s\n", delivered->address.empty() ? "sent (the site gives no address)"
                                                       : delivered->address.c_str());
        if (delivered->already) {
            say("the site already had this report");
        }
        return 0;
    }
    const std::string text = kind == output_kind::json
                                 ? report_json(document, "cavio-report", platform.version)
                             : kind == output_kind::submission ? submission_text(document)
                                                               : document_text(document);
    return platform.write_out(text, output) ? 0 : 2;
}
