#pragma once
// Loads a survey for the commands that read one (calc, report, page-count,
// xlsx) as the data sheet holds it: header, points and records with ⊿Nd, Nd
// and qa computed.

#include "calc/penetration_calculator.h"
#include "cli/cli_context.h"
#include "db/master_lists.h"
#include "sheet/survey_document.h"

#include <memory>

namespace vortan::cli {

class LoadedSurvey {
public:
    explicit LoadedSurvey(CliContext& context);

    // False when the survey could not be loaded (the message was printed).
    bool load(const QString& number);

    sheet::SurveyDocument& document() { return *document_; }
    db::MasterLists& lists() { return lists_; }
    calc::PenetrationCalculator& calculator() { return *calculator_; }

private:
    CliContext& context_;
    db::MasterLists lists_;
    std::unique_ptr<calc::PenetrationCalculator> calculator_;
    std::unique_ptr<sheet::SurveyDocument> document_;
};

// Reads "--name value" options of a command into a map; false on a word that
// is not an option or an option without its value.
bool readOptions(const QStringList& args, QMap<QString, QString>& options);

} // namespace vortan::cli
