// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and saving with Windows' own calls: the new file takes the old one's place in one
// move.
#include "platform/files.h"

#include "platform/filesShared.h"

#include <QDir>
#include <string>
#include <utility>

#include <windows.h>

namespace titrova::platform::files {
namespace {

class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE)
        : m_h(h) {}
    ~Handle() { reset(); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    void reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (m_h != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_h);
        m_h = h;
    }
    HANDLE release() { return std::exchange(m_h, INVALID_HANDLE_VALUE); }
    HANDLE get() const { return m_h; }
    bool valid() const { return m_h != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_h;
};

// The system's own words for the error, as a message box shows them.
QString reasonOf(DWORD error) {
    wchar_t *text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    const QString reason =
        n ? QString::fromWCharArray(text, int(n)).trimmed() : QStringLiteral("Error %1").arg(error);
    ::LocalFree(text);
    return reason;
}

std::wstring wide(const QString &path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

QString folderOf(const QString &path) {
    const qsizetype slash = QDir::fromNativeSeparators(path).lastIndexOf(u'/');
    return slash < 0 ? QStringLiteral(".") : path.left(slash == 2 ? 3 : slash);
}

QString nameOf(const QString &path) {
    return path.mid(QDir::fromNativeSeparators(path).lastIndexOf(u'/') + 1);
}

// 0, or why the folder and those above it could not be made.
DWORD makeFolders(const QString &folder) {
    const DWORD attributes = ::GetFileAttributesW(wide(folder).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : ERROR_DIRECTORY;
    const QString parent = folderOf(folder);
    if (parent != folder && parent.size() < folder.size()) {
        if (const DWORD error = makeFolders(parent))
            return error;
    }
    if (!::CreateDirectoryW(wide(folder).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS)
        return ::GetLastError();
    return 0;
}

// A save keeps its temporary file open without sharing it until it ends, and the system closes
// it when the saving process dies: one that can be deleted is litter.
void removeLeftovers(const QString &folder, const QString &name) {
    WIN32_FIND_DATAW found;
    const HANDLE scan =
        ::FindFirstFileW(wide(folder + u'/' + name + QStringLiteral(".*")).c_str(), &found);
    if (scan == INVALID_HANDLE_VALUE)
        return;
    do {
        const QString entry = QString::fromWCharArray(found.cFileName);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            isTemporaryOf(entry, name, Qt::CaseInsensitive))
            ::DeleteFileW(wide(folder + u'/' + entry).c_str());
    } while (::FindNextFileW(scan, &found));
    ::FindClose(scan);
}

// Opens what is at the path, following links, without taking it from anyone; a folder too.
Handle openExisting(const QString &path, DWORD access) {
    return Handle(::CreateFileW(wide(path).c_str(), access,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// What is open at the handle; the system's reason when it cannot say.
Kind kindOf(const QString &shown, HANDLE h, BY_HANDLE_FILE_INFORMATION &info) {
    if (!::GetFileInformationByHandle(h, &info))
        fail(shown, reasonOf(::GetLastError()));
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return Kind::Folder;
    return ::GetFileType(h) == FILE_TYPE_DISK ? Kind::Regular : Kind::Other;
}

} // namespace

Reader::Reader(const Location &file)
    : m_file(file) {
    Handle h = openExisting(QFile::decodeName(file.native), GENERIC_READ);
    if (!h.valid()) {
        const DWORD error = ::GetLastError();
        fail(file.shown, isMissing(error) ? notFound() : reasonOf(error));
    }
    BY_HANDLE_FILE_INFORMATION info;
    m_kind = kindOf(file.shown, h.get(), info);
    m_size = (qint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    m_handle = reinterpret_cast<qintptr>(h.release());
}

Reader::~Reader() {
    ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

qint64 Reader::read(char *buffer, qint64 room) {
    DWORD n = 0;
    if (!::ReadFile(reinterpret_cast<HANDLE>(m_handle), buffer, DWORD(room), &n, nullptr))
        fail(m_file.shown, reasonOf(::GetLastError()));
    return n;
}

void replace(const Location &file, const QByteArray &bytes) {
    QString target = QFile::decodeName(file.native);
    QString shown = file.shown;
    const auto failWith = [&shown](const QString &reason) { fail(shown, reason); };
    if (file.makeFolder) {
        if (const DWORD error = makeFolders(folderOf(target)))
            failWith(reasonOf(error));
    }

    if (const Handle old = openExisting(target, 0); old.valid()) {
        // Through a link the file it points to is replaced, and named in messages.
        wchar_t final[MAX_PATH * 4];
        const DWORD n = ::GetFinalPathNameByHandleW(old.get(), final, DWORD(std::size(final)),
                                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n > 0 && n < std::size(final)) {
            QString real = QString::fromWCharArray(final, int(n));
            if (real.startsWith(QStringLiteral("\\\\?\\UNC\\")))
                real = QStringLiteral("\\\\") + real.mid(8);
            else if (real.startsWith(QStringLiteral("\\\\?\\")))
                real = real.mid(4);
            if (real.compare(QDir::toNativeSeparators(target), Qt::CaseInsensitive) != 0) {
                target = real;
                shown = QDir::toNativeSeparators(real);
            }
        }
        BY_HANDLE_FILE_INFORMATION info;
        refuseIrregular(shown, kindOf(shown, old.get(), info));
        if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            failWith(notWritable());
    } else if (const DWORD error = ::GetLastError(); !isMissing(error)) {
        failWith(reasonOf(error));
    }

    const QString folder = folderOf(target), name = nameOf(target);
    removeLeftovers(folder, name);

    // Beside the file, so that the move putting it in place stays on one volume. Shared with
    // nobody while it is written: that also marks it as no leftover.
    QString temporary;
    Handle out;
    for (int attempt = 0; attempt < 100 && !out.valid(); ++attempt) {
        temporary = folder + u'/' + name + QLatin1String(temporarySuffix());
        out.reset(::CreateFileW(wide(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out.valid() && ::GetLastError() != ERROR_FILE_EXISTS)
            failWith(reasonOf(::GetLastError()));
    }
    if (!out.valid())
        failWith(reasonOf(ERROR_FILE_EXISTS));
    const auto failRemoving = [&](DWORD error) {
        out.reset();
        ::DeleteFileW(wide(temporary).c_str());
        failWith(reasonOf(error));
    };
    for (qsizetype done = 0; done < bytes.size();) {
        DWORD n = 0;
        if (!::WriteFile(out.get(), bytes.constData() + done, DWORD(bytes.size() - done), &n,
                         nullptr))
            failRemoving(::GetLastError());
        if (n == 0)
            failRemoving(ERROR_WRITE_FAULT);
        done += n;
    }
    if (!::FlushFileBuffers(out.get()))
        failRemoving(::GetLastError());
    out.reset();
    if (!::MoveFileExW(wide(temporary).c_str(), wide(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(wide(temporary).c_str());
        failWith(reasonOf(error));
    }
}

} // namespace titrova::platform::files
