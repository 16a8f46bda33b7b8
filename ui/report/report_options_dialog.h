#pragma once
// F_様式選択: the report type and the look of the graphs. It shows the report
// settings, checks what is typed, and on OK puts the values back into the
// settings and writes grpType.ini. It prints nothing itself.

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vortan {
struct ProgramState;
class UserInterface;
}

namespace vortan::report {

class ReportOptionsDialog : public QDialog {
    Q_OBJECT

public:
    ReportOptionsDialog(ProgramState& state, UserInterface& ui, QWidget* parent = nullptr);

    // Applies the chosen report type on OK (the print window's Set report
    // type, which also refreshes its end page); without a handler the type
    // is only stored.
    void setReportTypeHandler(std::function<void(int type)> handler) { applyType_ = std::move(handler); }
    // Asks the print window to re-fit its preview page.
    void setRefitHandler(std::function<void()> handler) { refit_ = std::move(handler); }

    // The colour dialog (the platform's when unset): given the swatch's
    // colour number, the chosen one, or nothing when cancelled.
    void setColourPicker(std::function<std::optional<unsigned>(unsigned)> picker) { pick_ = std::move(picker); }

    // Marks a report type: its picture framed, its label red.
    void SetRepType(int index);
    int selectedReportType() const { return repType_; }

    // The OK button's work; true when the dialog closed.
    bool acceptOptions();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void load();
    void updateLevelInputs();
    void chooseColour(int level);
    void paintSwatch(int level);
    // Checks made when a box is left; false sends the focus back.
    bool checkLeaving(QLineEdit* box);
    QWidget* makeTypePicture(int index);

    ProgramState& state_;
    UserInterface& ui_;
    std::function<void(int)> applyType_;
    std::function<void()> refit_;
    std::function<std::optional<unsigned>(unsigned)> pick_;
    int repType_ = 0;
    int graphDataClicked_ = -1;
    bool checking_ = false;

    std::array<QFrame*, 3> picture_{};
    std::array<QLabel*, 3> typeLabel_{};
    std::array<QRadioButton*, 2> graphKind_{};
    QCheckBox* showNd_ = nullptr;
    QCheckBox* showQa_ = nullptr;
    QCheckBox* showQu_ = nullptr;
    std::array<QCheckBox*, 4> printItem_{};
    std::array<QRadioButton*, 3> graphData_{};
    QLineEdit* pointsPerPage_ = nullptr;
    QLineEdit* maxDepth_ = nullptr;
    QRadioButton* loadKg_ = nullptr;
    QRadioButton* loadKn_ = nullptr;
    std::array<QRadioButton*, 4> colourBasis_{};
    std::array<QLineEdit*, 3> lower_{};
    std::array<QLineEdit*, 3> upper_{};
    std::array<QLabel*, 3> swatch_{};
    std::array<unsigned, 3> swatchColour_{};
    std::array<QPushButton*, 3> colourButton_{};
    std::array<QRadioButton*, 4> chartValue_{};
    std::array<QLineEdit*, 4> fullScale_{};
};

} // namespace vortan::report
