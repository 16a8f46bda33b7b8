#pragma once
// The texts a screen shows, for comparison with a reviewed golden file: one
// line per named widget, menu or toolbar action, in tree order, with its
// caption, status and tool tips. Where the exact texts are the contract, the
// golden file is the one place they are written down for the tests.

#include <QString>

class QWidget;

namespace vortan::test {

QString screenTexts(const QWidget& screen);

} // namespace vortan::test
