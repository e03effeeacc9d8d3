#pragma once
// Writing files that the user must be able to trust: a regular file is replaced only once all of it
// is written and on the disk, otherwise the old file stays as it was and the outcome says why; a
// device, a FIFO or "-" (standard output) is written to as a stream and never replaced by a regular
// file. Writes go to the system unbuffered, so that a full disk is seen at the write that fails and
// never lost in a last buffered chunk.

#include "Outcome.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <memory>

class QIODevice;

namespace FileOutput {

// "Cannot create file <path>", the first line of every failed write's message, in the language of
// the installed translation (the window's is always Russian).
QString cannotCreateMessage(const QString &path);
// True for "-", for a path under /dev or /proc, and for an existing entry that is not a regular file
// (a device, FIFO or socket): such a target is written to, never replaced.
bool isStream(const QString &path);
// Writes data whole to path, or leaves path as it was and says why.
Outcome<> write(const QString &path, QByteArrayView data);

// The outputs of one command, whole or nothing together: every regular file is written to its
// temporary file first, then the streams (which cannot be taken back) are written, and only when all
// of that succeeded are the regular files put in place, in order. A failure on the way leaves every
// regular file as it was.
struct Output
{
    QString path;
    QByteArray data;
};
Outcome<> writeAll(const QList<Output> &outputs);

} // namespace FileOutput

// A file written piece by piece, with the same promise: nothing of it replaces path until commit()
// succeeds; an OutputFile destroyed uncommitted leaves path as it was.
class OutputFile
{
public:
    explicit OutputFile(const QString &path);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    Outcome<> open();
    // Appends data; false once a write has failed (commit then says why).
    bool write(QByteArrayView data);
    // Hands what is buffered to the system; false once a write has failed (commit then says why).
    bool flush();
    bool isStream() const { return m_stream; }
    // Writes what is buffered, syncs and replaces the file; the failure of any earlier write too.
    Outcome<> commit();

private:
    Outcome<> failure(const QString &reason) const;
    bool flushBuffer();

    QString m_path;
    std::unique_ptr<QIODevice> m_device;
    QByteArray m_buffer;
    QString m_error;
    bool m_stream = false;
};
