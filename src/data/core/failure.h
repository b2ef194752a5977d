#pragma once

#include <QString>

#include <stdexcept>

namespace quorvex {

// A failed operation, carrying the description the user is shown: for a database operation the
// driver's own message, for a file operation the platform's. Every layer above the table reader
// raises this; commands catch any std::exception and report its what() (UTF-8).
class Failure : public std::runtime_error {
  public:
    explicit Failure(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}

    // A failure that also ended the database connection it happened on (the server stopped, the
    // network went away): every further statement on that connection would fail the same way.
    static Failure ConnectionLost(const QString& description) {
        Failure failure(description);
        failure.connectionLost_ = true;
        return failure;
    }

    const QString& description() const { return description_; }
    bool connectionLost() const { return connectionLost_; }

  private:
    QString description_;
    bool connectionLost_ = false;
};

}  // namespace quorvex
