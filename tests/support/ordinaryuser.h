// Tests of what root could always do (write into a read-only folder) run as
// an ordinary user while an OrdinaryUser lives.
#pragma once

#include <unistd.h>

namespace molvane {

// Root writes anywhere: while it lives, the test runs as an ordinary user.
class OrdinaryUser {
public:
    OrdinaryUser() : root_(::geteuid() == 0) {
        if (root_) switched_ = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
    }
    ~OrdinaryUser() {
        if (!root_) return;
        [[maybe_unused]] const int u = ::seteuid(0);
        [[maybe_unused]] const int g = ::setegid(0);
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;
    bool ok() const { return !root_ || switched_; }

private:
    static constexpr uid_t kNobody = 65534;
    bool root_;
    bool switched_ = false;
};

}  // namespace molvane
