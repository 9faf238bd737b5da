#pragma once
// An event is a (handler, data) pair; the handler receives the data first, then the arguments
// of the occasion. An event without a handler is simply not called.
namespace mvorbel {

template <class... Args>
struct Event {
    using Handler = void (*)(void* data, Args... args);

    Handler handler = nullptr;
    void* data = nullptr;

    bool HasHandler() const { return handler != nullptr; }
    void operator()(Args... args) const { handler(data, args...); }
};

}  // namespace mvorbel
