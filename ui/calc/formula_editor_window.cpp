#include "ui/calc/formula_editor_window.h"
#include "calc/editor_close.h"
#include "ui/common/keyed_toolbar_widget.h"

#include "core/text_grid_model.h"
#include "core/user_interface.h"
#include "ui/common/editor_grid_widget.h"

#include <QAction>
#include <QPointer>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace vortan::calc {

namespace {

QFont screenFont(QFont font)
{
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPointSize(10);
    return font;
}

QLabel* formulaLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

} // namespace

FormulaEditorWindow::FormulaEditorWindow(FormulaTable table, ProgramState& state, db::Workspace& workspace,
                                         UserInterface& ui, QWidget* parent)
    : QWidget(parent), state_(state), ui_(ui), editor_(table, FormulaSeriesEditor::Services{state, workspace, ui})
{
    const FormulaTableInfo& info = editor_.info();
    setObjectName(info.windowName);
    setWindowTitle(info.caption);
    setFont(screenFont(font()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(6);

    toolbar_ = CreateKeyedToolbar(this,
                                  {{QStringLiteral("tb_Exit"), QStringLiteral("閉じる")},
                                   {QStringLiteral("tb_New"), QStringLiteral("新規")},
                                   {QStringLiteral("tb_Load"), QStringLiteral("呼び出し")},
                                   {QStringLiteral("tb_Save"), QStringLiteral("保存")},
                                   {QStringLiteral("tb_Delete"), QStringLiteral("削除")}},
                                  [this](const QString& key) { runToolbarCommand(key); });
    tbSave_ = toolbar_->findChild<QAction*>(QStringLiteral("tb_Save"));
    layout->addWidget(toolbar_);

    // The series code: digits (and a sign) only; other keys ring the bell.
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(new QLabel(QStringLiteral("計算式の系列コード"), this));
    code_ = new QLineEdit(this);
    code_->setObjectName(QStringLiteral("txt_計算式コード"));
    code_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,6}")), code_));
    code_->setFixedWidth(code_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
    connect(code_, &QLineEdit::inputRejected, this, [this] { ui_.beep(); });
    connect(code_, &QLineEdit::textEdited, this, [this](const QString& text) {
        editor_.setCode(text);
        markChanged();
    });
    codeRow->addWidget(code_);
    codeRow->addStretch(1);
    layout->addLayout(codeRow);

    // Grid 0: the soils of the series with their coefficients; grid 1: the
    // customers that use it.
    QStringList soilHeadings{QStringLiteral("土質名")};
    std::vector<int> soilWidths{12};
    for (const QString& letter : info.coefficients) {
        soilHeadings << letter;
        soilWidths.push_back(6);
    }
    soilHeadings << QStringLiteral("メモ");
    soilWidths.push_back(editor_.isQa() ? 20 : 16);

    models_[0] = new TextGridModel(editor_.soils(), soilHeadings, this);
    models_[1] = new TextGridModel(editor_.customers(), {QStringLiteral("お客様名")}, this);
    for (int i = 0; i < 2; ++i) {
        grids_[i] = new sheet::EditorGrid(models_[i], this);
        grids_[i]->setObjectName(QStringLiteral("vaSpread1_%1").arg(i));
        connect(models_[i], &TextGridModel::edited, this, [this] { markChanged(); });
    }
    QSet<int> coefficientColumns;
    for (int c = 1; c <= info.coefficients.size(); ++c)
        coefficientColumns.insert(c);
    models_[0]->setNumberColumns(coefficientColumns);
    grids_[0]->setColumnWidthsInLetters(soilWidths);
    grids_[0]->horizontalHeader()->setStretchLastSection(true);
    grids_[1]->horizontalHeader()->setStretchLastSection(true);
    grids_[1]->setColumnWidthsInLetters({28});
    grids_[0]->setRowDeleter([this](std::vector<int>) { deleteSoilRows(grids_[0]->wholeSelectedRows()); });
    grids_[1]->setRowDeleter([this](std::vector<int>) { deleteCustomerRows(grids_[1]->wholeSelectedRows()); });
    grids_[0]->setRowAppended([this] { soilRowAppended(); });

    auto* soilBox = new QGroupBox(QStringLiteral("適応土質"), this);
    auto* soilLayout = new QVBoxLayout(soilBox);
    soilLayout->addWidget(grids_[0]);
    auto* customerBox = new QGroupBox(QStringLiteral("この計算式系列を使用するお客様"), this);
    auto* customerLayout = new QVBoxLayout(customerBox);
    customerLayout->addWidget(grids_[1]);

    auto* body = new QHBoxLayout;
    body->setSpacing(8);
    layout->addLayout(body, 1);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    body->addLayout(left, 0);
    body->addLayout(right, 1);

    int gridWidth = grids_[0]->verticalHeader()->sizeHint().width() + 24;
    for (int letters : soilWidths)
        gridWidth += grids_[0]->lettersWidth(letters);
    grids_[0]->setMinimumWidth(gridWidth);
    grids_[1]->setMinimumWidth(grids_[1]->lettersWidth(28) + 60);

    if (editor_.isQa()) {
        left->addWidget(soilBox, 3);
        left->addWidget(customerBox, 2);
        buildQaPart(right);
        resize(gridWidth + 660, 640);
    } else {
        left->addWidget(soilBox, 1);
        auto* noteBox = new QGroupBox(QStringLiteral("計算式"), this);
        auto* noteLayout = new QVBoxLayout(noteBox);
        if (table == FormulaTable::RNd)
            noteLayout->addWidget(formulaLabel(QStringLiteral("⊿Nd = A + B・Mv^C"), noteBox));
        for (const QString& note : info.notes)
            noteLayout->addWidget(formulaLabel(note, noteBox));
        noteLayout->addStretch(1);
        right->addWidget(noteBox, 0);
        right->addWidget(customerBox, 1);
        resize(gridWidth + grids_[1]->lettersWidth(28) + 120, 460);
    }

    editor_.clear();
    showEditor();
}

FormulaEditorWindow::~FormulaEditorWindow()
{
    // The models and views read the editor's grids, which go with the
    // members before the base class deletes the children: they go first.
    QList<QPointer<QObject>> children;
    for (QObject* child : this->children())
        children.append(child);
    for (const QPointer<QObject>& child : children)
        delete child.data();
}

void FormulaEditorWindow::buildQaPart(QVBoxLayout* layout)
{
    auto* formulaBox = new QGroupBox(QStringLiteral("qa値(長期許容支持力）を求める式"), this);
    auto* formulaLayout = new QVBoxLayout(formulaBox);
    auto* lblQaCalc = formulaLabel(QStringLiteral("qa=1/3(ic・α・c・Nc ＋ iｒ・β・γ１・Ｂ・Ｎｒ＋ｉｑ・γ２・Ｄｆ・Ｎｑ）"),
                                   formulaBox);
    lblQaCalc->setObjectName(QStringLiteral("lblQaCalc"));
    formulaLayout->addWidget(lblQaCalc);
    formulaLayout->addWidget(formulaLabel(QStringLiteral("平成13年7月2日国土交通省告示1113号"), formulaBox));
    layout->addWidget(formulaBox);

    ssTabQa_ = new QTabWidget(this);
    ssTabQa_->setObjectName(QStringLiteral("ssTabQa"));
    const auto& groups = qaParamGroups();
    for (int g = 0; g < QaParamGroupCount; ++g) {
        const QaParamGroup& group = groups[static_cast<std::size_t>(g)];
        auto* page = new QWidget(ssTabQa_);
        auto* pageLayout = new QVBoxLayout(page);
        for (const QString& text : group.labels)
            pageLayout->addWidget(formulaLabel(text, page));

        auto* model = new TextGridModel(editor_.qaGrid(g), group.letters(), this);
        // Row k of every parameter grid belongs to soil row k.
        model->setRowHeading([this](int row) {
            const QString soil = editor_.soils().cell(row, 0).trimmed();
            return soil.isEmpty() ? QString::number(row + 1) : soil;
        });
        QSet<int> columns;
        for (int c = 0; c < group.count; ++c)
            columns.insert(c);
        model->setNumberColumns(columns);
        connect(model, &TextGridModel::edited, this, [this] { markChanged(); });
        auto* grid = new sheet::EditorGrid(model, page);
        grid->setObjectName(QStringLiteral("qaSpread_%1").arg(g));
        grid->setColumnWidthsInLetters(std::vector<int>(static_cast<std::size_t>(group.count), 6));
        grid->verticalHeader()->setMinimumWidth(grid->lettersWidth(6));
        grid->setRowDeleter([this, g](std::vector<int>) {
            const std::vector<int> rows = qaGrids_[static_cast<std::size_t>(g)]->wholeSelectedRows();
            if (rows.empty())
                return;
            editor_.qaGrid(g).removeRows(rows);
            if (editor_.qaGrid(g).rowCount() == 0)
                editor_.qaGrid(g).appendRow();
            qaModels_[static_cast<std::size_t>(g)]->reload();
            markChanged();
        });
        pageLayout->addWidget(grid, 1);

        if (g == QaParamGroupCount - 1) {
            // The rounding of φ before it is looked up in rqtbl.csv.
            auto* roundingBox = new QGroupBox(QStringLiteral("表のΦデータの扱い"), page);
            auto* roundingLayout = new QHBoxLayout(roundingBox);
            auto* buttons = new QButtonGroup(roundingBox);
            const std::array<std::pair<int, const char16_t*>, 3> options = {{
                {2, u"四捨五入"},
                {1, u"切り捨て"},
                {0, u"切り上げ"},
            }};
            for (const auto& [index, text] : options) {
                auto* option = new QRadioButton(QString::fromUtf16(text), roundingBox);
                option->setObjectName(QStringLiteral("optDD_%1").arg(index));
                buttons->addButton(option, index);
                roundingLayout->addWidget(option);
                optDD_[static_cast<std::size_t>(index)] = option;
            }
            roundingLayout->addStretch(1);
            connect(buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
                if (!checked || showing_)
                    return;
                editor_.setRoundingMode(static_cast<std::int16_t>(id));
                markChanged();
            });
            pageLayout->addWidget(roundingBox);
        }
        ssTabQa_->addTab(page, group.name);
        qaModels_.push_back(model);
        qaGrids_.push_back(grid);
    }
    layout->addWidget(ssTabQa_, 1);
}

void FormulaEditorWindow::showEditor()
{
    showing_ = true;
    code_->setText(editor_.code());
    for (TextGridModel* model : models_)
        model->reload();
    for (TextGridModel* model : qaModels_)
        model->reload();
    if (editor_.isQa()) {
        const int mode = std::clamp<int>(editor_.roundingMode(), 0, 2);
        optDD_[static_cast<std::size_t>(mode)]->setChecked(true);
    }
    showing_ = false;
    updateSaveState();
}

void FormulaEditorWindow::markChanged()
{
    if (showing_)
        return;
    editor_.setChanged(true);
    // Soil names head the rows of the parameter grids.
    for (TextGridModel* model : qaModels_)
        model->refreshRowHeadings();
    updateSaveState();
}

void FormulaEditorWindow::updateSaveState()
{
    tbSave_->setEnabled(editor_.hasUnsavedChanges());
}

void FormulaEditorWindow::soilRowAppended()
{
    // Every soil row has its row in each parameter grid.
    const int rows = editor_.soils().rowCount();
    for (std::size_t g = 0; g < qaModels_.size(); ++g)
        while (qaModels_[g]->rowCount() < rows)
            qaModels_[g]->appendRow();
}

void FormulaEditorWindow::deleteSoilRows(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    editor_.soils().removeRows(rows);
    if (editor_.soils().rowCount() == 0)
        editor_.soils().appendRow();
    // The parameters of a deleted soil go with it.
    if (editor_.isQa()) {
        for (int g = 0; g < QaParamGroupCount; ++g) {
            editor_.qaGrid(g).removeRows(rows);
            if (editor_.qaGrid(g).rowCount() == 0)
                editor_.qaGrid(g).appendRow();
        }
    }
    editor_.setChanged(true);
    showEditor();
}

void FormulaEditorWindow::deleteCustomerRows(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    editor_.customers().removeRows(rows);
    if (editor_.customers().rowCount() == 0)
        editor_.customers().appendRow();
    editor_.setChanged(true);
    showEditor();
}

void FormulaEditorWindow::runToolbarCommand(const QString& key)
{
    if (key == u"tb_Exit") {
        closeWindow();
    } else if (key == u"tb_New") {
        editor_.setCode(QString());
        editor_.clear();
        editor_.setChanged(false);
        showEditor();
        code_->setFocus();
    } else if (key == u"tb_Load") {
        editor_.setCode(code_->text());
        const EditorOutcome outcome = editor_.load();
        showEditor();
        handle(outcome);
    } else if (key == u"tb_Save") {
        editor_.setCode(code_->text());
        const EditorOutcome outcome = editor_.save();
        updateSaveState();
        handle(outcome);
    } else if (key == u"tb_Delete") {
        editor_.setCode(code_->text());
        const EditorOutcome outcome = editor_.deleteSeries();
        updateSaveState();
        handle(outcome);
    }
}

void FormulaEditorWindow::closeWindow()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void FormulaEditorWindow::handle(EditorOutcome outcome)
{
    endProgramOn(outcome, endProgram_);
}

void FormulaEditorWindow::closeEvent(QCloseEvent* event)
{
    const bool mayClose = mayCloseEditor(ui_, editor_.hasUnsavedChanges(), [this] {
        editor_.setCode(code_->text());
        const EditorOutcome outcome = editor_.save();
        updateSaveState();
        return outcome;
    }, endProgram_);
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

} // namespace vortan::calc
