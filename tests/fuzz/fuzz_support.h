#pragma once
// Shared pieces of the fuzz entries: a user interface that shows nothing, a
// scratch folder for the files a reader insists on opening by name, and a
// fresh copy of the shipped survey database for the readers that store rows.

#include "core/user_interface.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace vortan::fuzz {

// Answers every question with its default button and records nothing.
class SilentUserInterface : public UserInterface {
public:
    MessageAnswer showMessage(const QString&, MessageIcon, MessageButtons, MessageAnswer defaultButton,
                              const QString&) override
    {
        return defaultButton;
    }
    void setStatusText(const QString&) override {}
    void setBusy(const QString&, bool) override {}
    void beep() override {}
    void processEvents() override {}
    void openOptionsDialog(int) override {}
};

inline QByteArray inputBytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder of this process, made at the first call and removed at exit.
QString scratchFolder();

// Writes `bytes` as `name` in the scratch folder and returns its path.
QString writeScratchFile(const QString& name, const QByteArray& bytes);

// Replaces "VORTAN.MDB" in the scratch folder with the shipped survey
// database (read once from the program folder) and returns its path.
QString freshSurveyDatabase();

} // namespace vortan::fuzz
