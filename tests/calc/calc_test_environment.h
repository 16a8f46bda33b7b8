#pragma once
// A survey database, rqtbl.csv and qaTbl.tbl copied from the shipped default
// files, opened the way the program opens them, with a calculator over them.
// Settings start at their defaults with every limit and threshold off.

#include "calc/penetration_calculator.h"
#include "core/bearing_factor_table.h"
#include "core/program_state.h"
#include "db/database.h"
#include "db/master_lists.h"
#include "db/workspace.h"
#include "support/recording_user_interface.h"
#include "support/test_databases.h"

#include <gtest/gtest.h>
#include <memory>

namespace vortan::test {

struct CalcEnvironment {
    ShippedFilesCopy files;
    ProgramState state;
    db::Workspace workspace;
    db::MasterLists lists;
    RecordingUserInterface ui;
    std::unique_ptr<calc::PenetrationCalculator> calculator;

    CalcEnvironment()
    {
        EXPECT_TRUE(files.isValid());
        state.settings.ini位置 = files.folder();
        EXPECT_TRUE(LoadBearingFactorTable(files.folder(), state.bearingFactorTable));
        workspace.openSurvey(files.surveyDatabase());
        db::RefreshMasterLists(db(), lists);
        calculator = std::make_unique<calc::PenetrationCalculator>(workspace, state);
    }

    db::Database& db() { return *workspace.survey(); }

    // A customer bound to series `code` of the ⊿Nd and Nd tables, with one
    // row for `soil` in each ("A, B, C" and "A, B, C, D, E"; an empty text
    // adds no row), and to series `qaCode` of the qa table (1 is the shipped
    // series, whose parameter records are in qaTbl.tbl; 0 is none).
    void addCustomer(const QString& name, int code, const QString& soil, const QString& rnd,
                     const QString& nd, int qaCode = 1)
    {
        db().execute(QStringLiteral("INSERT INTO mst得意先 (得意先名,Nd値計算式コード,Qa値計算式コード,"
                                    "qu値計算式コード) VALUES ('%1', %2, %3, %2);")
                         .arg(db::quoted(name))
                         .arg(code)
                         .arg(qaCode));
        if (!rnd.isEmpty())
            db().execute(QStringLiteral("INSERT INTO mstRNd値計算式 (計算式コード,土質名,A,B,C) VALUES (%1, '%2', %3);")
                             .arg(code)
                             .arg(soil, rnd));
        if (!nd.isEmpty())
            db().execute(QStringLiteral("INSERT INTO mstNd値計算式 (計算式コード,土質名,A,B,C,D,E) VALUES (%1, '%2', %3);")
                             .arg(code)
                             .arg(soil, nd));
    }

    calc::RowTexts row(const QString& depth, const QString& blowCount, const QString& torque,
                       const QString& soil, const QString& customer = QStringLiteral("一般"))
    {
        return calculator->computeRow(calc::RowInputs{depth, blowCount, torque, soil}, customer,
                                   calculator->bearingFactorTable());
    }
};

} // namespace vortan::test
