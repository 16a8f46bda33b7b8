#include "ui/sheet/survey_search_window.h"

#include "ui/common/allowed_keys_filter.h"
#include "core/error_reporter.h"
#include "core/failure.h"
#include "core/program_state.h"
#include "db/master_lists.h"
#include "db/workspace.h"
#include "ui/sheet/address_picker_dialog.h"
#include "sheet/search_result_model.h"
#include "sheet/survey_search.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace vortan::sheet {

namespace {

const QString SearchingStatus = QStringLiteral("データの検索中...");

class ComboBoxTarget : public db::ComboTarget {
public:
    explicit ComboBoxTarget(QComboBox* box) : box_(box) {}
    void clear() override { box_->clear(); }
    void addItem(const QString& text) override { box_->addItem(text); }

private:
    QComboBox* box_;
};

// "〜" between the two boxes of a range.
QWidget* rangeBoxes(QWidget* parent, QLineEdit* from, QLineEdit* to)
{
    auto* holder = new QWidget(parent);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(from);
    row->addWidget(new QLabel(QStringLiteral("～"), holder));
    row->addWidget(to);
    return holder;
}

} // namespace

SurveySearchWindow::SurveySearchWindow(ProgramState& state, db::Workspace& workspace, db::MasterLists& lists, UserInterface& ui,
             QWidget* parent)
    : QWidget(parent), state_(state), workspace_(workspace), lists_(lists), ui_(ui)
{
    setObjectName(QStringLiteral("F_検索"));
    setWindowTitle(QStringLiteral("データ検索"));

    toolbar_ = new QToolBar(QStringLiteral("ツールバー"), this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::pair<const char*, const char*> buttons[] = {
        {"tb_検索実行", "検索実行"}, {"tb_選択データの呼び出し", "データシートの呼び出し"}, {"tb_Exit", "閉じる"}};
    for (const auto& [key, text] : buttons) {
        QAction* action = toolbar_->addAction(QString::fromUtf8(text));
        action->setObjectName(QString::fromUtf8(key));
        const QString name = QString::fromUtf8(key);
        connect(action, &QAction::triggered, this, [this, name] { runToolbarCommand(name); });
    }

    auto* criteria = new QGridLayout;
    criteria->setHorizontalSpacing(8);
    auto place = [&](const char* caption, QWidget* field, int row, int column, int span = 1) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(field);
        criteria->addWidget(label, row, column * 2, Qt::AlignRight | Qt::AlignVCenter);
        criteria->addWidget(field, row, column * 2 + 1, 1, span * 2 - 1);
    };

    cmb_提出先_ = makeList("cmb_提出先");
    place("提出先", cmb_提出先_, 0, 0);
    txt_現場名_ = makeBox("txt_現場名");
    place("現場名", txt_現場名_, 0, 1, 2);

    txt_住所_ = makeBox("txt_住所");
    cmd住所_ = new QPushButton(QStringLiteral("住所選択..."), this);
    cmd住所_->setObjectName(QStringLiteral("cmd住所"));
    auto* addressRow = new QWidget(this);
    auto* addressLayout = new QHBoxLayout(addressRow);
    addressLayout->setContentsMargins(0, 0, 0, 0);
    addressLayout->addWidget(txt_住所_, 1);
    addressLayout->addWidget(cmd住所_);
    place("住所", addressRow, 1, 0, 3);

    cmb_調査目的_ = makeList("cmb_調査目的");
    place("調査目的", cmb_調査目的_, 2, 0);
    cmb_天候_ = makeList("cmb_天候");
    place("天候", cmb_天候_, 2, 1);
    for (int i = 0; i < 2; ++i)
        txt_標高_[i] = makeBox(i == 0 ? "txt_標高(0)" : "txt_標高(1)");
    place("標高", rangeBoxes(this, txt_標高_[0], txt_標高_[1]), 2, 2);

    cmb_調査責任者_ = makeList("cmb_調査責任者");
    place("調査責任者", cmb_調査責任者_, 3, 0);
    cmb_調査者_ = makeList("cmb_調査者");
    place("調査者", cmb_調査者_, 3, 1);
    for (int i = 0; i < 2; ++i)
        txt_調査日_[i] = makeBox(i == 0 ? "txt_調査日(0)" : "txt_調査日(1)");
    place("調査日", rangeBoxes(this, txt_調査日_[0], txt_調査日_[1]), 3, 2);

    for (int i = 0; i < 2; ++i) {
        txt_開始時刻_[i] = makeBox(i == 0 ? "txt_開始時刻(0)" : "txt_開始時刻(1)");
        txt_終了時刻_[i] = makeBox(i == 0 ? "txt_終了時刻(0)" : "txt_終了時刻(1)");
    }
    place("開始時刻", rangeBoxes(this, txt_開始時刻_[0], txt_開始時刻_[1]), 4, 0);
    place("終了時刻", rangeBoxes(this, txt_終了時刻_[0], txt_終了時刻_[1]), 4, 1);
    cmb_調査地区記事_ = makeList("cmb_調査地区記事");
    place("記事", cmb_調査地区記事_, 4, 2);
    for (int c : {1, 3, 5})
        criteria->setColumnStretch(c, 1);

    for (QLineEdit* box : {txt_開始時刻_[0], txt_開始時刻_[1], txt_終了時刻_[0], txt_終了時刻_[1]})
        AllowedKeysFilter::install(box, DigitsAndColon, ui_);
    for (QLineEdit* box : txt_調査日_)
        AllowedKeysFilter::install(box, DigitsSlashAndColon, ui_);
    for (QLineEdit* box : txt_標高_)
        AllowedKeysFilter::install(box, SignedDecimal, ui_);
    // Enter in any criterion starts the search.
    for (QLineEdit* box : findChildren<QLineEdit*>())
        connect(box, &QLineEdit::returnPressed, this, [this] { search(); });
    for (QLineEdit* box : {txt_開始時刻_[0], txt_開始時刻_[1], txt_終了時刻_[0], txt_終了時刻_[1]})
        box->setPlaceholderText(QStringLiteral("hh:mm"));
    for (QLineEdit* box : txt_調査日_)
        box->setPlaceholderText(QStringLiteral("yyyy/mm/dd"));

    model_ = new SearchResultModel(this);
    vaSpread1_ = new QTableView(this);
    vaSpread1_->setObjectName(QStringLiteral("vaSpread1"));
    vaSpread1_->setModel(model_);
    vaSpread1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    vaSpread1_->setSelectionMode(QAbstractItemView::SingleSelection);
    vaSpread1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vaSpread1_->setAlternatingRowColors(true);
    vaSpread1_->verticalHeader()->setDefaultSectionSize(vaSpread1_->fontMetrics().height() + 6);
    vaSpread1_->horizontalHeader()->setStretchLastSection(true);
    const int widths[SearchColumnCount] = {80, 100, 160, 220, 100, 60, 60, 90, 90, 90, 90, 90, 160};
    for (int c = 0; c < SearchColumnCount; ++c)
        vaSpread1_->setColumnWidth(c, widths[c]);
    connect(vaSpread1_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            vaSpread1_->setCurrentIndex(index);
            openSelectedSurvey();
        }
    });

    connect(cmd住所_, &QPushButton::clicked, this, [this] { pickAddress(); });

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(toolbar_);
    layout->addLayout(criteria);
    layout->addWidget(vaSpread1_, 1);

    fillLists();
}

SurveySearchWindow::~SurveySearchWindow() = default;

QSize SurveySearchWindow::sizeHint() const
{
    return {1000, 600};
}

QComboBox* SurveySearchWindow::makeList(const char* name)
{
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromUtf8(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(10);
    return box;
}

QLineEdit* SurveySearchWindow::makeBox(const char* name)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromUtf8(name));
    return box;
}

void SurveySearchWindow::fillLists()
{
    const std::pair<QComboBox*, db::MasterList> lists[] = {
        {cmb_提出先_, db::MasterList::Customer},     {cmb_天候_, db::MasterList::Weather},
        {cmb_調査責任者_, db::MasterList::Name},     {cmb_調査者_, db::MasterList::Name},
        {cmb_調査目的_, db::MasterList::Purpose},    {cmb_調査地区記事_, db::MasterList::SiteRemark},
    };
    for (const auto& [box, which] : lists) {
        // Filling keeps the text typed into the box.
        const QString typed = box->currentText();
        ComboBoxTarget target(box);
        db::FillCombo(target, lists_.list(which));
        box->setCurrentIndex(-1);
        box->setEditText(typed);
    }
}

SurveySearchCriteria SurveySearchWindow::criteria() const
{
    SurveySearchCriteria c;
    c.得意先名 = cmb_提出先_->currentText();
    c.現場名 = txt_現場名_->text();
    c.住所 = txt_住所_->text();
    c.調査目的 = cmb_調査目的_->currentText();
    c.天候 = cmb_天候_->currentText();
    c.標高From = txt_標高_[0]->text();
    c.標高To = txt_標高_[1]->text();
    c.調査責任者 = cmb_調査責任者_->currentText();
    c.調査者 = cmb_調査者_->currentText();
    c.開始時刻From = txt_開始時刻_[0]->text();
    c.開始時刻To = txt_開始時刻_[1]->text();
    c.終了時刻From = txt_終了時刻_[0]->text();
    c.終了時刻To = txt_終了時刻_[1]->text();
    c.調査日From = txt_調査日_[0]->text();
    c.調査日To = txt_調査日_[1]->text();
    c.記事 = cmb_調査地区記事_->currentText();
    return c;
}

void SurveySearchWindow::runToolbarCommand(const QString& key)
{
    if (key == u"tb_検索実行")
        search();
    else if (key == u"tb_選択データの呼び出し")
        openSelectedSurvey();
    else if (key == u"tb_Exit")
        close();
}

void SurveySearchWindow::search()
{
    ui_.setBusy(SearchingStatus, true);
    try {
        const QString query = BuildSurveySearchQuery(criteria());
        model_->clear();
        if (!workspace_.survey())
            throw Failure(err::ObjectNotSet, QStringLiteral("データベースが開かれていません。"),
                          QStringLiteral("F_検索"));
        model_->setRows(RunSurveySearch(*workspace_.survey(), query));
    } catch (const Failure& failure) {
        ui_.setBusy(QString(), false);
        report(failure);
        return;
    }
    ui_.setBusy(QStringLiteral("%1件見つかりました。").arg(model_->rowCount()), false);
    if (model_->rowCount() > 0)
        vaSpread1_->setCurrentIndex(model_->index(0, 0));
}

void SurveySearchWindow::openSelectedSurvey()
{
    const QModelIndex current = vaSpread1_->currentIndex();
    if (!current.isValid() || !openSurvey_)
        return;
    openSurvey_(model_->row(current.row())[0]);
}

void SurveySearchWindow::pickAddress()
{
    state_.callerName = QStringLiteral("F_検索");
    std::optional<QString> address = addressPicker_ ? addressPicker_()
                                                    : PickAddress(state_, workspace_, ui_, this);
    if (address)
        txt_住所_->setText(*address);
}

void SurveySearchWindow::report(const Failure& failure)
{
    const ErrorContext context{ui_, state_, workspace_.surveyOpen()};
    if (ReportError(failure, context) != action::EndProgram)
        return;
    if (endProgram_)
        endProgram_();
    else
        QCoreApplication::exit(0);
}

} // namespace vortan::sheet
