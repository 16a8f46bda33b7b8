#include "ui/sheet/address_picker_dialog.h"

#include "core/error_reporter.h"
#include "core/failure.h"
#include "core/program_state.h"
#include "db/workspace.h"
#include "sheet/postal_lookup.h"

#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vortan::sheet {

namespace {

// The screens whose 住所 field receives the address.
bool hasAddressField(const QString& callerName)
{
    return callerName == u"F_DataSheet" || callerName == u"F_検索";
}

db::Database& postalDatabase(db::Workspace& workspace)
{
    if (!workspace.postal())
        throw Failure(err::ObjectNotSet, QStringLiteral("住所データベースが開かれていません。"),
                      QStringLiteral("F_住所"));
    return *workspace.postal();
}

} // namespace

AddressPickerDialog::AddressPickerDialog(ProgramState& state, db::Workspace& workspace, UserInterface& ui, QWidget* parent)
    : QDialog(parent), state_(state), workspace_(workspace), ui_(ui)
{
    setObjectName(QStringLiteral("F_住所"));
    setWindowTitle(QStringLiteral("住所選択"));

    cmb県_ = makeList("cmb県");
    cmb市_ = makeList("cmb市");
    cmb町_ = makeList("cmb町");
    cmb域名_ = makeList("cmb域名");
    cmb県_->setMinimumWidth(140);
    cmb市_->setMinimumWidth(220);
    cmb町_->setMinimumWidth(260);
    cmb域名_->setMinimumWidth(260);

    auto* grid = new QGridLayout;
    const std::pair<const char*, QComboBox*> rows[] = {
        {"都道府県", cmb県_}, {"市区町村", cmb市_}, {"町域", cmb町_}, {"域名", cmb域名_}};
    int r = 0;
    for (const auto& [caption, box] : rows) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(box);
        grid->addWidget(label, r, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(box, r, 1);
        ++r;
    }
    grid->setColumnStretch(1, 1);

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setAutoDefault(false);
    cmdCancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(cmdOK_, &QPushButton::clicked, this, [this] { acceptAddress(); });
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    // The prefecture refills the cities as it is chosen or typed; a city
    // chosen refills the towns; a town chosen or typed refills the sub-areas.
    connect(cmb県_, &QComboBox::currentTextChanged, this, [this] { fillCities(); });
    connect(cmb市_, &QComboBox::textActivated, this, [this] { fillTowns(); });
    connect(cmb町_, &QComboBox::currentTextChanged, this, [this] { fillAreaNames(); });

    // The table's own order of cities and towns, when it carries one.
    try {
        codeOrder_ = hasPostalCodeOrder(postalDatabase(workspace_));
    } catch (const Failure&) {
        codeOrder_ = false;   // the prefecture list below reports what fails
    }
    refill({}, cmb県_, 都道府県Query(), inPrefectureCodeOrder);
}

AddressPickerDialog::~AddressPickerDialog() = default;

QComboBox* AddressPickerDialog::makeList(const char* name)
{
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromUtf8(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    // Typing narrows the list to the entries that hold the typed text.
    auto* completer = new QCompleter(box->model(), box);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setMaxVisibleItems(20);
    box->setCompleter(completer);
    // A name chosen in the narrowed list counts as chosen in the list.
    connect(completer, qOverload<const QString&>(&QCompleter::activated), box,
            [box](const QString& text) {
                const int index = box->findText(text, Qt::MatchExactly);
                if (index >= 0)
                    box->setCurrentIndex(index);
                emit box->textActivated(text);
            });
    return box;
}

void AddressPickerDialog::refill(std::initializer_list<QComboBox*> emptied, QComboBox* target, const QString& query,
                   const std::function<QStringList(const QStringList&)>& arrange)
{
    QStringList values;
    try {
        values = postalValues(postalDatabase(workspace_), query);
        if (arrange)
            values = arrange(values);
    } catch (const Failure& failure) {
        const ErrorContext context{ui_, state_, workspace_.surveyOpen()};
        if (ReportError(failure, context) == action::EndProgram) {
            if (endProgram_)
                endProgram_();
            else
                QCoreApplication::exit(0);
        }
        return;
    }
    // Emptying and filling the lists is no choice of the user's: the lists'
    // own events stay quiet meanwhile.
    for (QComboBox* box : emptied) {
        const QSignalBlocker quiet(box);
        box->clear();
        box->clearEditText();
    }
    const QSignalBlocker quiet(target);
    const QString typed = target->currentText();
    target->clear();
    target->addItems(values);
    // Filling a list chooses nothing: the box keeps the text it showed.
    target->setCurrentIndex(-1);
    target->setEditText(typed);
}

void AddressPickerDialog::fillCities()
{
    refill({cmb市_, cmb町_, cmb域名_}, cmb市_, 市区町村Query(cmb県_->currentText(), codeOrder_));
}

void AddressPickerDialog::fillTowns()
{
    refill({cmb町_, cmb域名_}, cmb町_, 町域Query(cmb県_->currentText(), cmb市_->currentText(), codeOrder_));
}

void AddressPickerDialog::fillAreaNames()
{
    refill({cmb域名_}, cmb域名_,
           域名Query(cmb県_->currentText(), cmb市_->currentText(), cmb町_->currentText(), codeOrder_));
}

void AddressPickerDialog::acceptAddress()
{
    const QString composed = composeAddress(cmb県_->currentText(), cmb市_->currentText(),
                                            cmb町_->currentText(), cmb域名_->currentText());
    if (hasAddressField(state_.callerName))
        address_ = composed;
    else
        address_.reset();
    accept();
}

std::optional<QString> PickAddress(ProgramState& state, db::Workspace& workspace, UserInterface& ui,
                                   QWidget* parent)
{
    AddressPickerDialog picker(state, workspace, ui, parent);
    if (picker.exec() != QDialog::Accepted)
        return std::nullopt;
    return picker.address();
}

} // namespace vortan::sheet
