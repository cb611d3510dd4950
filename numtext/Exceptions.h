#pragma once
// The error classes that end a running command and reach the application's default error
// handling. They mirror the runtime the calculator was designed around: the message is what
// the error box shows (the handler appends "." by its own rule).

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    const std::string Message() const { return what(); }
};

// Floating-point errors raised after an operation that overflowed, divided by zero or was
// invalid. Underflow, denormals and inexact results never raise.
class EMathError : public Exception {
public:
    using Exception::Exception;
};

class EOverflow : public EMathError {
public:
    EOverflow() : EMathError("Floating point overflow") {}
};

class EZeroDivide : public EMathError {
public:
    EZeroDivide() : EMathError("Floating point division by zero") {}
};

class EInvalidOp : public EMathError {
public:
    EInvalidOp() : EMathError("Invalid floating point operation") {}
};

// A text that is not a number where one was required.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A failed file operation; ErrorCode is the operating system's code or one of the
// text-file facility's own codes (100..106).
class EInOutError : public Exception {
public:
    EInOutError(int errorCode, const std::string& message)
        : Exception(message), ErrorCode(errorCode) {}
    int ErrorCode;
};
