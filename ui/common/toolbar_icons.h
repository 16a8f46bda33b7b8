#pragma once
// The pictograms of the main window's toolbar, drawn in code so that they
// are sharp at every size and on high-density screens: each icon paints
// itself at the pixel size asked for (16, 24, 32, 48 px and their doubles),
// and draws itself greyed when its button is disabled.

#include <QIcon>
#include <QString>
#include <QStringList>

namespace vortan {

// The icon of a toolbar key ("tb_Exit", "tb_DataSheet", ...); a null icon
// for a key without a pictogram (the separators).
QIcon ToolbarIcon(const QString& key);

// Every key that has a pictogram.
QStringList ToolbarIconKeys();

// The program's own icon: a cone driven into layered ground.
QIcon ProgramIcon();

} // namespace vortan
