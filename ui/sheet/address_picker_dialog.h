#pragma once
// AddressPickerDialog, the address picker: four cascading lists of the postal database,
// prefecture (prefectureBox), city (cityBox), town (townBox) and sub-area (areaNameBox), in
// the order of their codes (prefectures from 北海道 to 沖縄県). Each
// list can be typed into and narrows its entries to those holding the typed
// text. OK (cmdOK) composes the address from the four texts for the screen
// named by the caller name ("F_DataSheet" or "F_検索"); Cancel (cmdCancel)
// closes without an address.

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

class QComboBox;
class QPushButton;

namespace vortan {
struct ProgramState;
class UserInterface;
class Failure;
namespace db {
class Workspace;
}
} // namespace vortan

namespace vortan::sheet {

class AddressPickerDialog : public QDialog {
    Q_OBJECT
public:
    AddressPickerDialog(ProgramState& state, db::Workspace& workspace, UserInterface& ui, QWidget* parent = nullptr);
    ~AddressPickerDialog() override;

    // The address OK composed for a known caller; nothing after Cancel, or
    // when the caller name names no screen with an address field.
    const std::optional<QString>& address() const { return address_; }

    // What to do when the error reporter asks to end the program (by
    // default the application quits).
    void setEndProgramHandler(std::function<void()> handler) { endProgram_ = std::move(handler); }

    // The refills of the lower lists, as the lists' events run them.
    void fillCities();
    void fillTowns();
    void fillAreaNames();

    QComboBox* prefectureBox() const { return cmb県_; }
    QComboBox* cityBox() const { return cmb市_; }
    QComboBox* townBox() const { return cmb町_; }
    QComboBox* areaNameBox() const { return cmb域名_; }

private:
    QComboBox* makeList(const char* name);
    // Empties the lists, then fills `target` with the rows of `query` (put
    // in order by `arrange` when given); a failure is reported and the lists
    // keep what they held.
    void refill(std::initializer_list<QComboBox*> emptied, QComboBox* target, const QString& query,
                const std::function<QStringList(const QStringList&)>& arrange = {});
    void acceptAddress();

    ProgramState& state_;
    db::Workspace& workspace_;
    bool codeOrder_ = false;
    UserInterface& ui_;
    QComboBox* cmb県_;
    QComboBox* cmb市_;
    QComboBox* cmb町_;
    QComboBox* cmb域名_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
    std::optional<QString> address_;
    std::function<void()> endProgram_;
};

// Opens the picker as a modal dialog for the caller named in
// state.callerName (set by the opening screen) and returns the address to
// write into that screen's 住所 field, or nothing.
std::optional<QString> PickAddress(ProgramState& state, db::Workspace& workspace, UserInterface& ui,
                                   QWidget* parent = nullptr);

} // namespace vortan::sheet
