#pragma once

#include "FaxJobResults.h"

#include <QString>

namespace vextel_print {

// The desktop notification for a fax job whose outcome is final, in English, German or
// Japanese: "Fax sent to 3 recipients" when the printer's log says every recipient got it, which
// recipients failed and why when some did not, the scheduler's reason when the job never reached
// the printer, and "result unknown" when the printer could not be asked. Never success unseen.
struct FaxResultNotice {
    QString summary;
    QString body;

    // language: "de", "ja" or anything else for English; absent: the user's own.
    static FaxResultNotice of(const FaxJobResults::Job& job, const QString& language = {});
    // The user's language among those the notices are written in ("en" when none fits).
    static QString userLanguage();
};

} // namespace vextel_print
