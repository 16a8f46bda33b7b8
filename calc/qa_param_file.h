#pragma once
// qaTbl.tbl in the settings folder, read for the bearing capacity: the record
// of a series code and soil. The file's records are kept in memory while its
// size and modification time stay the same, so a recalculation of thousands
// of rows reads it once; the file itself is opened and closed within each
// reading and never held open.

#include "calc/formula_sets.h"
#include "calc/qa_param_record.h"

#include <QDateTime>
#include <QString>
#include <vector>

namespace vortan::calc {

inline constexpr auto QaParamFileName = "qaTbl.tbl";

class QaParamFile {
public:
    // The record whose series code is the set's code (read by the
    // leading-number rule as a 16-bit number) and whose soil name, cut before
    // its first blank and trimmed, equals the trimmed soil; the first such
    // record in file order. The zero record when the code is 0, the file is
    // missing or nothing matches. `path` is the file's full path. A file that
    // is there but cannot be opened (70) or read to its end (75; 71 when it
    // went away while read) throws Failure and is read again next time.
    QaParamRecord findQaParams(const QString& path, const QaSet& set, const QString& soil);

    // While on, a file once looked at is taken to stay as it was, so that a
    // recalculation of thousands of rows looks at it once rather than once
    // per row; turning it off looks again at the next lookup.
    void setLookOnce(bool on)
    {
        lookOnce_ = on;
        lookedAt_ = false;
    }

    // How often the file's bytes were read (for tests and benchmarks).
    int readCount() const { return readCount_; }

private:
    const std::vector<QaParamRecord>& records(const QString& path);

    QString path_;
    qint64 size_ = -1;
    QDateTime modified_;
    std::vector<QaParamRecord> records_;
    int readCount_ = 0;
    bool lookOnce_ = false;
    bool lookedAt_ = false;   // looked at since lookOnce_ was turned on
};

} // namespace vortan::calc
