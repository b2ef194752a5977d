#pragma once

#include <QByteArray>
#include <QFile>
#include <QStringList>

#include <vector>

namespace quorvex::test {

// What exec wants for a child process, made before the fork: the program, its arguments and its
// environment as texts, and the NULL-ended pointer arrays over them.
class ExecTexts {
  public:
    ExecTexts(const QString& program, const QStringList& arguments,
              const QStringList& environment) {
        texts_.push_back(QFile::encodeName(program));
        for (const QString& argument : arguments) {
            texts_.push_back(argument.toLocal8Bit());
        }
        const std::size_t argumentCount = texts_.size();
        for (const QString& variable : environment) {
            texts_.push_back(variable.toLocal8Bit());
        }
        for (std::size_t i = 0; i < texts_.size(); ++i) {
            (i < argumentCount ? argv_ : envp_).push_back(texts_[i].data());
        }
        argv_.push_back(nullptr);
        envp_.push_back(nullptr);
    }
    ExecTexts(const ExecTexts&) = delete;
    ExecTexts& operator=(const ExecTexts&) = delete;

    char* const* argv() const { return argv_.data(); }
    char* const* envp() const { return envp_.data(); }

  private:
    std::vector<QByteArray> texts_;
    std::vector<char*> argv_;
    std::vector<char*> envp_;
};

}  // namespace quorvex::test
