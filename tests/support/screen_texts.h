#pragma once
// The texts a screen shows, for comparison with a reviewed golden file
// (tests/fixtures/golden/<name>): one line per named widget, menu or toolbar
// action, in tree order, with its caption, status and tool tips. Where the
// exact texts are the contract, the golden file is the one place they are
// written down for the tests.

#include <QString>
#include <gtest/gtest.h>

class QWidget;

namespace vortan::test {

QString screenTexts(const QWidget& screen);

// Compares `actual` with the golden file; with VORTAN_UPDATE_GOLDEN set in the
// environment the file is written instead (review its diff before committing).
::testing::AssertionResult matchesGolden(const QString& name, const QString& actual);

} // namespace vortan::test
