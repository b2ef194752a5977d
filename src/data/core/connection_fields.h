#pragma once

#include <QString>

namespace quorvex {

// The four connection fields of the connection screen, read at the moment a connection string
// is built. Their texts are used exactly as typed.
class ConnectionFields {
  public:
    virtual ~ConnectionFields() = default;
    virtual QString Text1() const = 0;  // Paradox folder
    virtual QString Text2() const = 0;  // Oracle SID
    virtual QString Text3() const = 0;  // Oracle user name
    virtual QString Text4() const = 0;  // Oracle password
};

}  // namespace quorvex
