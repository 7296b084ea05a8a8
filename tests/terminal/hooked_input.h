// Standard input whose answer is read only after something has happened: a test's hook
// runs on the first read, before the answer is handed over, as a person's deed would
// while the question waits.
#pragma once

#include <functional>
#include <streambuf>
#include <string>

class HookedInput : public std::streambuf {
  public:
    HookedInput(std::string answer, std::function<void()> hook)
        : answer_(std::move(answer)), hook_(std::move(hook)) {}

  protected:
    int_type underflow() override {
        if (hook_) {
            const std::function<void()> hook = std::move(hook_);
            hook_ = nullptr;
            hook();
            setg(answer_.data(), answer_.data(), answer_.data() + answer_.size());
        }
        return gptr() < egptr() ? traits_type::to_int_type(*gptr()) : traits_type::eof();
    }

  private:
    std::string answer_;
    std::function<void()> hook_;
};
