#include "FileOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <vector>

namespace FileOutput {

QString cannotCreateMessage(const QString &path)
{
    return QCoreApplication::translate("FileOutput", "Cannot create file %1").arg(QDir::toNativeSeparators(path));
}

bool isStream(const QString &path)
{
    if (path == QLatin1String("-"))
        return true;
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    if (clean.startsWith(QLatin1String("/dev/")) || clean.startsWith(QLatin1String("/proc/")))
        return true;
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

Outcome<> write(const QString &path, QByteArrayView data)
{
    OutputFile file(path);
    if (Outcome<> opened = file.open(); !opened)
        return opened;
    file.write(data);
    return file.commit();
}

Outcome<> writeAll(const QList<Output> &outputs)
{
    std::vector<std::unique_ptr<OutputFile>> files;
    for (const Output &output : outputs) {
        files.push_back(std::make_unique<OutputFile>(output.path));
        if (Outcome<> opened = files.back()->open(); !opened)
            return opened;
    }
    // The regular files into their temporary files: a full disk shows here.
    for (std::size_t k = 0; k < files.size(); ++k) {
        if (files[k]->isStream())
            continue;
        if (!files[k]->write(outputs[qsizetype(k)].data) || !files[k]->flush())
            return files[k]->commit(); // says why; the file stays as it was
    }
    for (std::size_t k = 0; k < files.size(); ++k) {
        if (!files[k]->isStream())
            continue;
        files[k]->write(outputs[qsizetype(k)].data);
        if (Outcome<> written = files[k]->commit(); !written)
            return written; // the other files, uncommitted, stay as they were
    }
    for (std::size_t k = 0; k < files.size(); ++k)
        if (!files[k]->isStream())
            if (Outcome<> committed = files[k]->commit(); !committed)
                return committed;
    return {};
}

} // namespace FileOutput

namespace {

// At most this much is collected before it goes to the system in one write.
constexpr qsizetype BufferSize = 1 << 20;

} // namespace

OutputFile::OutputFile(const QString &path)
    : m_path(path)
    , m_stream(FileOutput::isStream(path))
{
}

OutputFile::~OutputFile()
{
    if (auto *save = dynamic_cast<QSaveFile *>(m_device.get()))
        save->cancelWriting();
}

Outcome<> OutputFile::failure(const QString &reason) const
{
    QString message = FileOutput::cannotCreateMessage(m_path == QLatin1String("-") ? QStringLiteral("stdout") : m_path);
    if (!reason.isEmpty())
        message += u'\n' + reason;
    return Outcome<>::failed(message);
}

Outcome<> OutputFile::open()
{
    if (m_stream) {
        auto file = std::make_unique<QFile>();
        bool opened = false;
        if (m_path == QLatin1String("-")) {
            opened = file->open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
        } else {
            file->setFileName(m_path);
            opened = file->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        }
        if (!opened)
            return failure(file->errorString());
        m_device = std::move(file);
        return {};
    }
    if (QFileInfo(m_path).isDir())
        return failure(QCoreApplication::translate("FileOutput", "It is a folder."));
    auto file = std::make_unique<QSaveFile>(m_path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(file->errorString());
    m_device = std::move(file);
    return {};
}

bool OutputFile::flushBuffer()
{
    if (m_buffer.isEmpty() || !m_error.isEmpty())
        return m_error.isEmpty();
    qsizetype done = 0;
    while (done < m_buffer.size()) {
        const qint64 written = m_device->write(m_buffer.constData() + done, m_buffer.size() - done);
        if (written <= 0) {
            m_error = m_device->errorString();
            if (m_error.isEmpty())
                m_error = QCoreApplication::translate("FileOutput", "The write failed.");
            return false;
        }
        done += written;
    }
    m_buffer.clear();
    return true;
}

bool OutputFile::flush()
{
    return m_device && flushBuffer();
}

bool OutputFile::write(QByteArrayView data)
{
    if (!m_device || !m_error.isEmpty())
        return false;
    if (m_buffer.size() + data.size() <= BufferSize) {
        m_buffer.append(data);
        return true;
    }
    if (!flushBuffer())
        return false;
    if (data.size() >= BufferSize) {
        m_buffer = data.toByteArray();
        return flushBuffer();
    }
    m_buffer.append(data);
    return true;
}

Outcome<> OutputFile::commit()
{
    if (!m_device)
        return failure(QString());
    flushBuffer();
    if (auto *save = dynamic_cast<QSaveFile *>(m_device.get())) {
        if (!m_error.isEmpty()) {
            save->cancelWriting();
            m_device.reset();
            return failure(m_error);
        }
        const bool committed = save->commit();
        const QString reason = save->errorString();
        m_device.reset();
        return committed ? Outcome<>() : failure(reason);
    }
    auto *file = static_cast<QFile *>(m_device.get());
    if (m_error.isEmpty() && !file->flush())
        m_error = file->errorString();
    if (m_path == QLatin1String("-") && m_error.isEmpty() && std::fflush(stdout) != 0)
        m_error = QCoreApplication::translate("FileOutput", "The write to standard output failed.");
    file->close();
    m_device.reset();
    return m_error.isEmpty() ? Outcome<>() : failure(m_error);
}
