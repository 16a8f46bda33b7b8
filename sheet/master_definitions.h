#pragma once
// The nine master tables the generic master editor edits, in the order of
// the main window's editor instances: each with the caption that selects
// it, the toolbar key that opens it, its table, load query, grid columns
// (heading, width in letters "O", the field it shows) and save statements.

#include <QString>
#include <QStringList>
#include <vector>

namespace vortan::sheet {

struct MasterColumn {
    enum class Kind {
        Text,     // inserted as text
        Number,   // inserted as its numeric value (leading-number rule)
        Colour,   // the soil colour: a number, the cell painted in that colour
        Button,   // the colour chooser button; holds no data
    };
    QString heading;
    int widthLetters = 10;
    QString field;   // column of the table (empty for the button column)
    Kind kind = Kind::Text;
};

struct MasterDefinition {
    QString caption;          // "姓名マスタの編集"
    QString toolbarKey;       // "tb_姓名マスタ"
    QString table;            // "mst姓名"
    QString loadQuery;
    QString deleteStatement;
    QString insertPrefix;
    std::vector<MasterColumn> columns;

    // The number of columns that hold data (the button column excluded).
    int dataColumnCount() const;
    // The insert statement of one grid row (its cells in column order).
    QString insertStatement(const QStringList& cells) const;
};

// Instances 1..9 in order.
const std::vector<MasterDefinition>& MasterDefinitions();

// The master whose caption is `caption`, nullptr when none.
const MasterDefinition* FindMasterByCaption(const QString& caption);

} // namespace vortan::sheet
