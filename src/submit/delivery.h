// Submit's whole errand: the legacy form to the site's /submitter.php, as
// every site has always taken it, then, where the site asks for it, the
// whole report as a saved report, to the place the site named.
//
// The protocol: Cavio's site answers the form with the header
// "Cavio-Report: http://host/reports/7" (the report's address), with
// "Cavio-Already: yes" when that content was kept before, and with
// "Cavio-Whole-Report: /api/reports/7/whole?token=..." while it does not
// hold the whole report yet. An older site sends none of them: the form it
// took is the success.
#pragma once

#include <string>

#include "base/reason.h"
#include "submit/http_post.h"

struct delivery {
    std::string address;   // where the site shows the report; empty from an older site
    bool already = false;  // the site held that report before
    bool whole = false;    // the whole report arrived too
};

// Posts the submission to site's /submitter.php (with a fresh identifier)
// and the saved report where the site asks for it. The reason when the form
// was not taken; a whole report refused still leaves the form's success.
result<delivery> deliver(http_component& http, const std::string& site, const std::string& submission,
                         const std::string& saved_report);
