#include "cli/report_survey_loader.h"

#include <QMap>

namespace vortan::cli {

LoadedSurvey::LoadedSurvey(CliContext& context) : context_(context)
{
    calculator_ = std::make_unique<calc::PenetrationCalculator>(context.workspace(), context.state());
    document_ = std::make_unique<sheet::SurveyDocument>(sheet::SurveyDocument::Services{
        context.state(), context.workspace(), lists_, context.ui(), *calculator_});
}

bool LoadedSurvey::load(const QString& number)
{
    if (document_->clear() != sheet::Outcome::Done)
        return false;
    document_->setHeader(sheet::HeaderField::調査地区No, number);
    return document_->load() == sheet::Outcome::Done;
}

bool readOptions(const QStringList& args, QMap<QString, QString>& options)
{
    for (qsizetype i = 0; i < args.size(); i += 2) {
        if (!args[i].startsWith(QStringLiteral("--")) || i + 1 >= args.size())
            return false;
        options.insert(args[i].mid(2), args[i + 1]);
    }
    return true;
}

} // namespace vortan::cli
