#include "app/options_dialog.h"

#include "ui/common/allowed_keys_filter.h"
#include "core/error_reporter.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/options_rules.h"
#include "core/program_state.h"
#include "core/settings_loader.h"
#include "core/user_interface.h"
#include "db/connection_check.h"
#include "db/master_lists.h"
#include "db/workspace.h"
#include "migrate/legacy_database_offer.h"
#include "migrate/migration_failure.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace vortan {

using namespace numtext;

namespace {

const QString TimeoutTooShort = QStringLiteral("タイムアウト値は６秒以上を設定して下さい。");
const QString NoSuchSettingsFolder =
    QStringLiteral("指定された設定ファイル用のフォルダは存在しません。指定をやり直してください。");
const QString PortNotNumber = QStringLiteral("ポートNoは数字を指定してください。");
const QString TimeoutNotNumber = QStringLiteral("タイムアウトは、数字（秒数)を指定してください。");
const QString Saved = QStringLiteral(
    "設定値を保存しました｡プログラムを再起動(プログラムを終了後もう一度起動する｡）してください。"
    "次回起動時から設定が反映されます。");
const QString NotSaved = QStringLiteral("正しい設定を行った後更新してください。");
const QString PasswordInLocation = QStringLiteral(
    "VORTANデータの位置にパスワードは書けません（設定ファイルに残るため）。"
    "パスワードは ~/.pgpass、環境変数 PGPASSWORD、またはサービスファイルで指定してください。");

const QString CsvFilter = QStringLiteral("データベース (*.csv)|*.csv");
const QString MdbFilter = QStringLiteral("データベース (*.mdb)|*.mdb");
const QString PictureFilter =
    QStringLiteral("ピクチャ (*.bmp;*.ico;*.jpg;*.gif)|*.bmp;*.ico;*.jpg;*.gif");

QLabel* note(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// The index of a setting's option: the numeric value of its text.
int optionIndex(const QString& text)
{
    return static_cast<int>(roundHalfEven(leadingNumber(text)));
}

void check(QButtonGroup* group, int id)
{
    if (QAbstractButton* button = group->button(id))
        button->setChecked(true);
}

} // namespace

OptionsDialog::Choosers OptionsDialog::platformChoosers()
{
    Choosers choosers;
    choosers.file = [](QWidget* parent, const QString& start, const QString& filter) {
        return QDir::toNativeSeparators(QFileDialog::getOpenFileName(parent, QString(), start, filter));
    };
    choosers.folder = [](QWidget* parent, const QString& start, const QString& prompt) {
        return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(parent, prompt, start));
    };
    return choosers;
}

OptionsDialog::OptionsDialog(Services services, QWidget* parent)
    : QDialog(parent), s_(services), choosers_(platformChoosers())
{
    setObjectName(QStringLiteral("F_オプション"));
    setWindowTitle(QStringLiteral("オプション設定"));

    TabStrip1_ = new QTabBar(this);
    TabStrip1_->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1_->setExpanding(false);
    const std::array<std::array<const char*, 3>, 5> tabs{{
        {"ユーザー情報", "tb_ユーザー情報", "ユーザー情報の設定"},
        {"位置", "tb_位置", "データベースの位置などの設定"},
        {"その他", "tb_その他", "計算式中の係数などを入力します。"},
        {"その他２", "tb_その他２", ""},
        {"その他３", "tb_その他３", "帳票の工法名切替えとﾄﾙｸの単位切替え"},
    }};
    for (const auto& [caption, key, tip] : tabs) {
        const int index = TabStrip1_->addTab(QString::fromUtf8(caption));
        TabStrip1_->setTabData(index, QString::fromUtf8(key));
        TabStrip1_->setTabToolTip(index, QString::fromUtf8(tip));
    }

    // The frames share one place; only the frame of the selected tab shows.
    auto* pages = new QWidget(this);
    auto* stack = new QGridLayout(pages);
    stack->setContentsMargins(0, 0, 0, 0);
    Frame1_[0] = new QWidget(pages);
    Frame1_[1] = buildFrame1();
    Frame1_[2] = buildFrame2();
    Frame1_[3] = new QWidget(pages);
    Frame1_[4] = buildFrame4();
    Frame1_[5] = buildFrame5();
    Frame1_[6] = buildFrame6();
    QSize largest;
    for (std::size_t f = 0; f < Frame1_.size(); ++f) {
        QWidget* frame = Frame1_[f];
        frame->setParent(pages);
        frame->setObjectName(QStringLiteral("Frame1(%1)").arg(f));
        stack->addWidget(frame, 0, 0);
        largest = largest.expandedTo(frame->sizeHint());
        frame->hide();
    }
    pages->setMinimumSize(largest);

    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setReadOnly(true);
    Text1_->setFocusPolicy(Qt::NoFocus);

    auto* cmd_更新 = new QPushButton(QStringLiteral("更新"), this);
    cmd_更新->setObjectName(QStringLiteral("cmd_更新"));
    cmd_更新->setAutoDefault(false);
    auto* cmd_キャンセル = new QPushButton(QStringLiteral("キャンセル"), this);
    cmd_キャンセル->setObjectName(QStringLiteral("cmd_キャンセル"));
    cmd_キャンセル->setAutoDefault(false);
    connect(cmd_更新, &QPushButton::clicked, this, [this] { applySettings(); });
    connect(cmd_キャンセル, &QPushButton::clicked, this, &QDialog::reject);

    auto* frameBox = new QFrame(this);
    frameBox->setFrameShape(QFrame::StyledPanel);
    auto* frameLayout = new QVBoxLayout(frameBox);
    frameLayout->addWidget(pages);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Text1_, 1);
    buttons->addSpacing(12);
    buttons->addWidget(cmd_更新);
    buttons->addWidget(cmd_キャンセル);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(TabStrip1_);
    layout->addWidget(frameBox, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    for (QLineEdit* box : {txt_ComNo_, txt_ComTimeOut_, txt換算Nd値の上限値_, txt打撃回数の下限値_})
        AllowedKeysFilter::install(box, DigitsAndPoint, s_.ui);
    txt_ComTimeOut_->installEventFilter(this);
    txt_ini位置_->installEventFilter(this);

    // A tab clicked shows its frame; a tab selected while the dialog is
    // hidden is remembered and shown when it opens.
    connect(TabStrip1_, &QTabBar::currentChanged, this, [this](int index) {
        if (!isVisible())
            requestedTab_ = index;
        TabChange(index);
    });
    TabChange(0);
}

OptionsDialog::~OptionsDialog() = default;

QLineEdit* OptionsDialog::makeBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromUtf8(name));
    return box;
}

QPushButton* OptionsDialog::makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    return button;
}

QRadioButton* OptionsDialog::makeOption(QWidget* parent, QButtonGroup* group, const QString& name,
                                   const QString& text, int id)
{
    auto* option = new QRadioButton(text, parent);
    option->setObjectName(name);
    group->addButton(option, id);
    return option;
}

// ユーザー情報: the company data and the labels of the reports.
QWidget* OptionsDialog::buildFrame1()
{
    auto* frame = new QWidget(this);
    auto* layout = new QVBoxLayout(frame);

    auto* company = new QGridLayout;
    txt_会社名_ = makeBox(frame, "txt_会社名");
    txt_会社名_->setPlaceholderText(QStringLiteral("株式会社 ○○"));
    txt_会社マーク_ = makeBox(frame, "txt_会社マーク");
    auto* cmd_マーク = makeButton(frame, "cmd_マーク", QStringLiteral("参照..."));
    txt_通常の提出先_ = makeBox(frame, "txt_通常の提出先");
    company->addWidget(new QLabel(QStringLiteral("会社名"), frame), 0, 0);
    company->addWidget(txt_会社名_, 0, 1);
    company->addWidget(new QLabel(QStringLiteral("マーク"), frame), 1, 0);
    company->addWidget(txt_会社マーク_, 1, 1);
    company->addWidget(cmd_マーク, 1, 2);
    company->addWidget(new QLabel(QStringLiteral("通常の提出先"), frame), 2, 0);
    company->addWidget(txt_通常の提出先_, 2, 1);
    company->setColumnStretch(1, 1);
    layout->addLayout(company);
    connect(cmd_マーク, &QPushButton::clicked, this, [this] { browseFile(txt_会社マーク_, PictureFilter); });

    auto* pointBox = new QGroupBox(QStringLiteral("測点Noと表示"), frame);
    auto* pointLayout = new QHBoxLayout(pointBox);
    Option5_ = new QButtonGroup(this);
    pointLayout->addWidget(makeOption(pointBox, Option5_, QStringLiteral("Option5(0)"), QStringLiteral("表示する"), 0));
    pointLayout->addWidget(makeOption(pointBox, Option5_, QStringLiteral("Option5(1)"), QStringLiteral("表示しない"), 1));
    pointLayout->addWidget(
        note(pointBox, QStringLiteral("本ソフトで使用する測点NoをオートマチックZDでの測点Noとを同期させず、"
                                      "記事欄を用いて個別に管理する場合には、「表示しない」にします。")),
        1);
    layout->addWidget(pointBox);

    auto* placeBox = new QGroupBox(QStringLiteral("測定場所の表記方法"), frame);
    auto* placeLayout = new QGridLayout(placeBox);
    opt_場所_ = new QButtonGroup(this);
    const char* places[] = {"住所", "調査地", "建築住所", "その他"};
    for (int i = 0; i < 4; ++i)
        placeLayout->addWidget(makeOption(placeBox, opt_場所_, QStringLiteral("opt_場所(%1)").arg(i),
                                          QString::fromUtf8(places[i]), i),
                               0, i);
    cmb_住所_ = new QComboBox(placeBox);
    cmb_住所_->setObjectName(QStringLiteral("cmb_住所"));
    cmb_住所_->setEditable(true);
    cmb_住所_->setInsertPolicy(QComboBox::NoInsert);
    cmb_住所_->setMinimumContentsLength(10);
    placeLayout->addWidget(cmb_住所_, 0, 4);
    placeLayout->addWidget(note(placeBox, QStringLiteral("住所ラベル表記マスタに入力された内容が▼をクリックすると"
                                                         "でますので選択してください。")),
                           1, 0, 1, 5);
    placeLayout->addWidget(note(placeBox, QStringLiteral("「住所ラベル表記マスタ」で登録した住所を印刷時に表記します。")),
                           2, 0, 1, 5);
    placeLayout->setColumnStretch(4, 1);
    layout->addWidget(placeBox);
    // Only the fourth way, the address-label master, takes an entry of the list.
    connect(opt_場所_, &QButtonGroup::idClicked, this, [this](int id) { cmb_住所_->setEnabled(id == 3); });

    auto* heightBox = new QGroupBox(QStringLiteral("地盤高の基準"), frame);
    auto* heightLayout = new QHBoxLayout(heightBox);
    opt_高さ基準_ = new QButtonGroup(this);
    const char* heights[] = {"GL", "KBM", "TBM", "BM"};
    for (int i = 0; i < 4; ++i)
        heightLayout->addWidget(makeOption(heightBox, opt_高さ基準_, QStringLiteral("opt_高さ基準(%1)").arg(i),
                                           QString::fromUtf8(heights[i]), i));
    heightLayout->addStretch();
    layout->addWidget(heightBox);
    layout->addStretch();
    return frame;
}

// 位置: the files and folders, and the serial link.
QWidget* OptionsDialog::buildFrame2()
{
    auto* frame = new QWidget(this);
    auto* layout = new QVBoxLayout(frame);

    auto* paths = new QGridLayout;
    struct PathRow {
        const char* caption;
        const char* box;
        const char* button;
        QLineEdit** target;
    };
    const PathRow rows[] = {
        {"VORTANデータの位置", "txt_データ位置", "cmd_データベース位置", &txt_データ位置_},
        {"住所データの位置", "txt_住所位置", "cmd_住所", &txt_住所位置_},
        {"変換データの位置", "txt_CSV位置", "cmd_CSV", &txt_CSV位置_},
        {"設定データの位置", "txt_ini位置", "cmd_ini", &txt_ini位置_},
    };
    QPushButton* buttons[4] = {};
    int r = 0;
    for (const PathRow& row : rows) {
        *row.target = makeBox(frame, row.box);
        (*row.target)->setMinimumWidth(320);
        buttons[r] = makeButton(frame, row.button, QStringLiteral("参照..."));
        paths->addWidget(new QLabel(QString::fromUtf8(row.caption), frame), r, 0);
        paths->addWidget(*row.target, r, 1);
        paths->addWidget(buttons[r], r, 2);
        ++r;
    }
    // The survey database may be a PostgreSQL server's: the connection test
    // says whether it answers and has the current layout.
    cmd_接続テスト_ = makeButton(frame, "cmd_接続テスト", QStringLiteral("接続テスト"));
    paths->addWidget(cmd_接続テスト_, 0, 3);
    lbl_接続テスト_ = new QLabel(frame);
    lbl_接続テスト_->setObjectName(QStringLiteral("lbl_接続テスト"));
    lbl_接続テスト_->setWordWrap(true);
    paths->addWidget(lbl_接続テスト_, 4, 1, 1, 3);
    connect(cmd_接続テスト_, &QPushButton::clicked, this, [this] {
        lbl_接続テスト_->setText(QStringLiteral("接続しています..."));
        lbl_接続テスト_->repaint();
        const db::ConnectionCheck check = db::checkConnection(txt_データ位置_->text().trimmed());
        lbl_接続テスト_->setStyleSheet(check.current ? QString() : QStringLiteral("color: #c00000;"));
        lbl_接続テスト_->setText(check.text);
    });
    paths->setColumnStretch(1, 1);
    layout->addLayout(paths);
    auto* warning = note(frame, QStringLiteral("間違った設定を行うとVortanが動作しなくなります｡ご注意ください｡"));
    warning->setStyleSheet(QStringLiteral("color: #c00000;"));
    layout->addWidget(warning);

    connect(buttons[0], &QPushButton::clicked, this, [this] { browseFile(txt_データ位置_, MdbFilter); });
    connect(buttons[1], &QPushButton::clicked, this, [this] { browseFile(txt_住所位置_, MdbFilter); });
    connect(buttons[2], &QPushButton::clicked, this, [this] { browseFile(txt_CSV位置_, CsvFilter); });
    cmd_ini_ = buttons[3];
    connect(cmd_ini_, &QPushButton::clicked, this, [this] {
        if (!choosers_.folder)
            return;
        const QString folder = choosers_.folder(this, txt_ini位置_->text(),
                                                QStringLiteral("設定ファイルのフォルダを指定してください"));
        if (!folder.isEmpty())
            txt_ini位置_->setText(folder);
    });

    auto* serial = new QGroupBox(QStringLiteral("通信条件"), frame);
    auto* serialLayout = new QGridLayout(serial);
    txt_ComNo_ = makeBox(serial, "txt_ComNo");
    txt_ComTimeOut_ = makeBox(serial, "txt_ComTimeOut");
    for (QLineEdit* box : {txt_ComNo_, txt_ComTimeOut_})
        box->setMaximumWidth(80);
    serialLayout->addWidget(new QLabel(QStringLiteral("ポートNo."), serial), 0, 0);
    serialLayout->addWidget(txt_ComNo_, 0, 1);
    serialLayout->addWidget(new QLabel(QStringLiteral("タイムアウト"), serial), 1, 0);
    serialLayout->addWidget(txt_ComTimeOut_, 1, 1);
    serialLayout->addWidget(new QLabel(QStringLiteral("設定例"), serial), 0, 2, Qt::AlignRight);
    serialLayout->addWidget(new QLabel(QStringLiteral("1 ～ 8"), serial), 0, 3);
    serialLayout->addWidget(new QLabel(QStringLiteral("10"), serial), 1, 3);
    serialLayout->addWidget(
        new QLabel(QStringLiteral("　上記の設定値は、お使いのパソコンより異なります。パソコン本体に\n"
                                  "付属している取扱説明書もご覧になり、設定値を変更して下さい。"),
                   serial),
        2, 0, 1, 5);
    serialLayout->setColumnStretch(4, 1);
    auto* cmdAllDel = makeButton(serial, "cmdAllDel", QStringLiteral("メモリカードデータ全削除"));
    serialLayout->addWidget(cmdAllDel, 0, 4, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(serial);
    layout->addStretch();
    return frame;
}

QWidget* OptionsDialog::switchPair(QWidget* parent, const char* caption, const char* group, const char* off,
                               const char* on, QLineEdit*& valueBox, const char* valueName,
                               QButtonGroup*& buttons)
{
    auto* box = new QGroupBox(QString::fromUtf8(caption), parent);
    auto* layout = new QGridLayout(box);
    buttons = new QButtonGroup(this);
    const QString name = QString::fromUtf8(group);
    layout->addWidget(makeOption(box, buttons, name + QStringLiteral("(0)"), QString::fromUtf8(off), 0), 0, 0);
    layout->addWidget(makeOption(box, buttons, name + QStringLiteral("(1)"), QString::fromUtf8(on), 1), 1, 0);
    valueBox = makeBox(box, valueName);
    valueBox->setMaximumWidth(80);
    layout->addWidget(valueBox, 1, 1);
    layout->setColumnStretch(2, 1);
    QLineEdit* value = valueBox;
    // Option 1 takes the value to its right; option 0 needs none.
    connect(buttons, &QButtonGroup::idClicked, this, [value](int id) { value->setEnabled(id == 1); });
    return box;
}

// その他: the correction and the upper limit of Nd.
QWidget* OptionsDialog::buildFrame4()
{
    auto* frame = new QWidget(this);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(switchPair(frame, "補正値の取り扱い", "Option2", "補正値を無視しない",
                                 "打撃回数Ndmが右記の値以下の場合補正値を無視する", txt打撃回数の下限値_,
                                 "txt打撃回数の下限値", Option2_));
    layout->addWidget(switchPair(frame, "Ndの上限設定", "Option1", "上限を定めない",
                                 "補正打撃回数Ndの上限を右記の値以上にする", txt換算Nd値の上限値_,
                                 "txt換算Nd値の上限値", Option1_));
    layout->addStretch();
    return frame;
}

// その他２: how a zero Nd and a zero qa are shown.
QWidget* OptionsDialog::buildFrame5()
{
    auto* frame = new QWidget(this);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(switchPair(frame, "Ndの0値処理", "Option3", "Ndが0のときそのまま表示",
                                 "Ndが0のとき右記の値未満とする", txtNdSikii_, "txtNdSikii", Option3_));
    layout->addWidget(switchPair(frame, "qaの0値処理", "Option4", "qaが0のときそのまま表示",
                                 "qaが0のとき右記の値未満とする", txtqaSikii_, "txtqaSikii", Option4_));
    layout->addStretch();
    return frame;
}

// その他３: the test title and the torque unit.
QWidget* OptionsDialog::buildFrame6()
{
    auto* frame = new QWidget(this);
    auto* layout = new QVBoxLayout(frame);
    auto* box = new QGroupBox(frame);
    auto* boxLayout = new QVBoxLayout(box);
    Option_new_ = new QRadioButton(
        QStringLiteral("試験名の表示を「大型動的ｺｰﾝ貫入試験」ﾄﾙｸ単位の表示を「N・m」にする"), box);
    Option_new_->setObjectName(QStringLiteral("Option_new"));
    Option_old_ = new QRadioButton(
        QStringLiteral("試験名の表示を「ﾗﾑｻｳﾝﾃﾞｨﾝｸﾞ試験」ﾄﾙｸ単位の表示を「kN・cm」にする"), box);
    Option_old_->setObjectName(QStringLiteral("Option_old"));
    boxLayout->addWidget(Option_new_);
    boxLayout->addWidget(Option_old_);
    layout->addWidget(box);
    layout->addStretch();
    return frame;
}

void OptionsDialog::TabChange(int k)
{
    for (QWidget* frame : Frame1_)
        frame->hide();
    const int f = options::frameOfTab(k);
    if (f != 0 && f != 3 && f >= 0 && f < static_cast<int>(Frame1_.size()))
        Frame1_[static_cast<std::size_t>(f)]->show();
    const QString sentence = options::explanationOfFrame(f);
    if (!sentence.isEmpty())
        Text1_->setText(sentence);
}

int OptionsDialog::visibleFrame() const
{
    for (std::size_t f = 0; f < Frame1_.size(); ++f) {
        if (Frame1_[f]->isVisibleTo(const_cast<OptionsDialog*>(this)))
            return static_cast<int>(f);
    }
    return -1;
}

void OptionsDialog::loadFromSettings()
{
    const AppSettings& s = s_.state.settings;
    txt_ComNo_->setText(QString::number(s.port));
    txt_ComTimeOut_->setText(QString::number(s.timeout));
    txt_会社名_->setText(s.会社名);
    txt_会社マーク_->setText(s.会社マーク);
    txt_通常の提出先_->setText(s.通常の提出先);
    txt_データ位置_->setText(s.データ位置);
    txt_住所位置_->setText(s.住所位置);
    txt_CSV位置_->setText(s.csv位置);
    txt_ini位置_->setText(s.ini位置);

    // Choosing an option does what clicking it does.
    auto choose = [](QButtonGroup* group, int id) {
        check(group, id);
        emit group->idClicked(id);
    };
    choose(opt_高さ基準_, optionIndex(s.高さ基準));
    choose(opt_場所_, optionIndex(s.住所名));
    choose(Option5_, optionIndex(s.測点表示));

    choose(Option2_, s.打撃回数の下限 ? 1 : 0);
    choose(Option1_, s.Nd値の上限を有効にする ? 1 : 0);
    choose(Option3_, s.Ndのしきい値を有効にする ? 1 : 0);
    choose(Option4_, s.qaのしきい値を有効にする ? 1 : 0);
    txt打撃回数の下限値_->setText(QString::number(s.打撃回数の下限値));
    txt換算Nd値の上限値_->setText(shortestSingle(s.Nd値の上限値));
    txtNdSikii_->setText(shortestSingle(s.Ndのしきい値));
    txtqaSikii_->setText(shortestSingle(s.qaのしきい値));

    (s.試験名単位切替 ? Option_new_ : Option_old_)->setChecked(true);
    cmb_住所_->lineEdit()->setMaxLength(10);
}

void OptionsDialog::fillAddressLabels()
{
    if (db::Database* survey = s_.workspace.survey()) {
        try {
            db::LoadMasterList(*survey, s_.lists, db::MasterList::AddressLabel);
        } catch (const Failure& failure) {
            report(failure);
        }
    }
    const QStringList& labels = s_.lists.addressLabel;
    cmb_住所_->clear();
    for (qsizetype i = 1; i < labels.size(); ++i)
        cmb_住所_->addItem(labels[i]);
    // An index beyond the list (entries deleted since it was chosen) would
    // print no label at all: it comes down to the last entry.
    std::int16_t& index = s_.state.settings.その他_ComboIndex;
    if (cmb_住所_->count() <= index)
        index = static_cast<std::int16_t>(std::max(cmb_住所_->count() - 1, 0));
    if (cmb_住所_->count() > 0)
        cmb_住所_->setCurrentIndex(std::max<int>(index, 0));
    else
        cmb_住所_->setCurrentIndex(-1);
}

void OptionsDialog::prepareAtStart()
{
    fillAddressLabels();
    if (s_.state.settings.住所名 == u"3" && dataSheet_.setAddressLabel)
        dataSheet_.setAddressLabel(cmb_住所_->currentIndex(), cmb_住所_->currentText());
}

void OptionsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const int requested = requestedTab_;
    requestedTab_ = -1;
    loadFromSettings();
    fillAddressLabels();
    // Becoming active: the page of "その他" after a missing database, else
    // the first page; then the tab asked for while the dialog was hidden.
    const int first = s_.state.databaseNotFound ? 2 : 0;
    TabStrip1_->setCurrentIndex(first);
    TabChange(first);
    if (requested >= 0) {
        TabStrip1_->setCurrentIndex(requested);
        TabChange(requested);
    }
}

void OptionsDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // Back to the first tab, so that any later request other than it is seen.
    const QSignalBlocker quiet(TabStrip1_);
    TabStrip1_->setCurrentIndex(0);
    requestedTab_ = -1;
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving the box for another control of the dialog, not the dialog
        // losing the focus to a message or another window.
        const bool leaving = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
            || reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason
            || reason == Qt::OtherFocusReason;
        // The check runs once the box has finished losing the focus, so
        // that the focus and the selection it sets stay.
        if (leaving && isVisible()) {
            if (watched == txt_ComTimeOut_)
                QTimer::singleShot(0, this, [this] {
                    if (isVisible())
                        checkTimeout();
                });
            else if (watched == txt_ini位置_)
                QTimer::singleShot(0, this, [this] {
                    if (isVisible())
                        checkSettingsFolder();
                });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsDialog::checkTimeout()
{
    if (!options::timeoutTooShort(txt_ComTimeOut_->text()))
        return;
    s_.ui.showMessage(TimeoutTooShort, MessageIcon::None, MessageButtons::Ok, MessageAnswer::Ok,
                      QStringLiteral("設定エラー"));
    txt_ComTimeOut_->setFocus(Qt::OtherFocusReason);
    txt_ComTimeOut_->selectAll();
}

void OptionsDialog::checkSettingsFolder()
{
    const QString folder = txt_ini位置_->text();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return;
    s_.ui.showMessage(NoSuchSettingsFolder, MessageIcon::Exclamation);
    cmd_ini_->setFocus(Qt::OtherFocusReason);
}

void OptionsDialog::browseFile(QLineEdit* box, const QString& filter)
{
    if (!choosers_.file)
        return;
    const QString path = choosers_.file(this, box->text(), options::qtFileFilter(filter));
    if (!path.isEmpty())
        box->setText(path);
}

bool OptionsDialog::offerLegacyMigration()
{
    try {
        const migrate::Offer offer = migrate::OfferLegacyMigration(txt_データ位置_->text(), s_.ui);
        if (offer.outcome == migrate::OfferOutcome::Migrated)
            txt_データ位置_->setText(QDir::toNativeSeparators(offer.newPath));
        return true;
    } catch (const Failure& failure) {
        const ErrorContext context{s_.ui, s_.state, s_.workspace.surveyOpen()};
        if (migrate::ReportMigrationFailure(failure, context) == action::EndProgram) {
            if (endProgram_)
                endProgram_();
            else
                QCoreApplication::exit(0);
        }
        return false;
    }
}

void OptionsDialog::applySettings()
{
    // An old Access database at データ位置 is offered for migration, and the
    // new database takes its place in the box, before anything is confirmed.
    if (!offerLegacyMigration())
        return;
    try {
        AppSettings& s = s_.state.settings;
        bool valid = true;
        if (isNumeric(txt_ComNo_->text())) {
            s.port = toInt16(*parseNumber(txt_ComNo_->text()));
        } else {
            s_.ui.showMessage(PortNotNumber, MessageIcon::None);
            valid = false;
        }
        if (isNumeric(txt_ComTimeOut_->text())) {
            s.timeout = toInt16(*parseNumber(txt_ComTimeOut_->text()));
        } else {
            s_.ui.showMessage(TimeoutNotNumber, MessageIcon::None);
            valid = false;
        }

        s.会社名 = txt_会社名_->text();
        s.会社マーク = txt_会社マーク_->text();
        s.通常の提出先 = txt_通常の提出先_->text();
        if (db::uriHoldsPassword(txt_データ位置_->text())) {
            s_.ui.showMessage(PasswordInLocation, MessageIcon::Exclamation);
            valid = false;
        } else {
            s.データ位置 = txt_データ位置_->text();
        }
        s.住所位置 = txt_住所位置_->text();
        s.csv位置 = txt_CSV位置_->text();
        s.ini位置 = options::settingsFolderFromInput(txt_ini位置_->text());

        s.高さ基準 = QString::number(std::max(opt_高さ基準_->checkedId(), 0));
        s.住所名 = QString::number(std::max(opt_場所_->checkedId(), 0));
        if (s.住所名 == u"3") {
            if (dataSheet_.setAddressLabel)
                dataSheet_.setAddressLabel(cmb_住所_->currentIndex(), cmb_住所_->currentText());
            if (s_.lists.addressLabel.size() > 1)
                s.その他_ComboIndex = static_cast<std::int16_t>(cmb_住所_->currentIndex());
        }
        if (Option5_->checkedId() >= 0)
            s.測点表示 = QString::number(Option5_->checkedId());

        s.打撃回数の下限 = Option2_->checkedId() == 1;
        s.Nd値の上限を有効にする = Option1_->checkedId() == 1;
        s.Ndのしきい値を有効にする = Option3_->checkedId() == 1;
        s.qaのしきい値を有効にする = Option4_->checkedId() == 1;
        s.Nd値の上限値 = static_cast<float>(leadingNumber(txt換算Nd値の上限値_->text()));
        s.Ndのしきい値 = static_cast<float>(leadingNumber(txtNdSikii_->text()));
        s.qaのしきい値 = static_cast<float>(leadingNumber(txtqaSikii_->text()));
        s.打撃回数の下限値 = toInt16(leadingNumber(txt打撃回数の下限値_->text()));
        s.試験名単位切替 = Option_new_->isChecked();

        if (!valid) {
            s_.ui.showMessage(NotSaved, MessageIcon::Exclamation);
            return;
        }
        SaveSettings(s_.store, s);
        if (dataSheet_.clear)
            dataSheet_.clear();
        s_.ui.showMessage(Saved, MessageIcon::Information);
        accept();
    } catch (const Failure& failure) {
        report(failure);
    }
}

void OptionsDialog::report(const Failure& failure)
{
    const ErrorContext context{s_.ui, s_.state, s_.workspace.surveyOpen()};
    if (ReportError(failure, context) != action::EndProgram)
        return;
    if (endProgram_)
        endProgram_();
    else
        QCoreApplication::exit(0);
}

} // namespace vortan
