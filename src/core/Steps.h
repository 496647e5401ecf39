#pragma once

#include <coroutine>
#include <exception>
#include <functional>
#include <optional>
#include <utility>

// A sequence of steps that waits without blocking: each co_await hands the thread back to the event loop,
// and whatever the step waits for resumes it from there. They start when awaited, or by start();
// a failure thrown inside them reaches whoever awaits them.
template <typename T> class Steps {
    struct Result {
        std::optional<T> value;
        void return_value(T v) { value = std::move(v); }
        T take() { return std::move(*value); }
    };
    struct NoResult {
        void return_void() {}
        void take() {}
    };

public:
    struct promise_type : std::conditional_t<std::is_void_v<T>, NoResult, Result> {
        std::coroutine_handle<> continuation;
        std::exception_ptr failure;
        std::function<void()> finished;

        Steps get_return_object() { return Steps(std::coroutine_handle<promise_type>::from_promise(*this)); }
        std::suspend_always initial_suspend() noexcept { return {}; }
        struct FinalAwaiter {
            bool await_ready() noexcept { return false; }
            std::coroutine_handle<> await_suspend(std::coroutine_handle<promise_type> done) noexcept {
                promise_type& promise = done.promise();
                if (promise.finished) promise.finished();
                return promise.continuation ? promise.continuation : std::noop_coroutine();
            }
            void await_resume() noexcept {}
        };
        FinalAwaiter final_suspend() noexcept { return {}; }
        void unhandled_exception() { failure = std::current_exception(); }
    };

    Steps(Steps&& other) noexcept : m_handle(std::exchange(other.m_handle, {})) {}
    Steps(const Steps&) = delete;
    Steps& operator=(const Steps&) = delete;
    Steps& operator=(Steps&&) = delete;
    ~Steps() {
        if (m_handle) m_handle.destroy();
    }

    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiting) noexcept {
        m_handle.promise().continuation = awaiting;
        return m_handle;
    }
    T await_resume() { return result(); }

    // Runs the steps up to its first wait; finished is called once it has run to its end.
    void start(std::function<void()> finished) {
        m_handle.promise().finished = std::move(finished);
        m_handle.resume();
    }
    bool done() const { return m_handle.done(); }
    // What the steps came to, once done: its value, or the failure it ended with.
    T result() {
        if (m_handle.promise().failure) std::rethrow_exception(m_handle.promise().failure);
        return m_handle.promise().take();
    }

private:
    explicit Steps(std::coroutine_handle<promise_type> handle) : m_handle(handle) {}
    std::coroutine_handle<promise_type> m_handle;
};
