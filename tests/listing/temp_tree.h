#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace quorvex::test {

// A real folder tree in a fresh temporary folder, removed with the object.
class TempTree {
  public:
    TempTree() {
        EXPECT_TRUE(dir_.isValid());
        dir_.setAutoRemove(false);
    }
    // Removed byte by byte: Qt cannot name entries whose names are not valid text.
    ~TempTree() {
        ::nftw(
            QFile::encodeName(dir_.path()).constData(),
            [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); },
            64, FTW_DEPTH | FTW_PHYS);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    QString Root() const { return dir_.path(); }
    QString Path(const QString& relative) const { return Root() + QLatin1Char('/') + relative; }

    // Makes the folder (and its parents); returns its path.
    QString Folder(const QString& relative) const {
        const QString path = Path(relative);
        MakeFolderBytes(QFile::encodeName(path));
        return path;
    }

    // Makes an empty file, its folders first; returns its path.
    QString File(const QString& relative) const {
        const QString path = Path(relative);
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        MakeFolderBytes(QFile::encodeName(path.left(slash)));
        MakeFileBytes(QFile::encodeName(path));
        return path;
    }

    // Raw byte names, for names that are not valid text.
    QByteArray Bytes(const QByteArray& relative) const {
        return QFile::encodeName(Root()) + '/' + relative;
    }
    static void MakeFolderBytes(const QByteArray& path) {
        for (qsizetype at = 1; at <= path.size(); ++at) {
            if (at == path.size() || path[at] == '/') {
                ::mkdir(path.left(at).constData(), 0755);
            }
        }
    }
    static void MakeFileBytes(const QByteArray& path) {
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << path.constData();
        ::close(fd);
    }
    void Link(const QString& target, const QString& relativeLink) const {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(),
                            QFile::encodeName(Path(relativeLink)).constData()),
                  0);
    }

  private:
    QTemporaryDir dir_;
};

}  // namespace quorvex::test
