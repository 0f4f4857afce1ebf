#pragma once
// Where a replaceable service lives: the back end's real one, unless a test
// has installed another.
#include <utility>

template <class Service>
class ServiceSlot {
public:
    explicit ServiceSlot(Service& (*real)()) : real_(real) {}
    Service& current() { return installed_ ? *installed_ : real_(); }
    // Installs a service (null: the real one again); returns the previous one.
    Service* install(Service* service) { return std::exchange(installed_, service); }

private:
    Service& (*real_)();
    Service* installed_ = nullptr;
};
