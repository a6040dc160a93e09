#pragma once

#include <memory>
#include <string>

#include <sys/types.h>

// A virtual X server (Xvfb) for the runs that meet the program as the operator does, on a
// real display server rather than Qt's off-screen platform. It ends with the object.
class VirtualDisplay {
public:
    // Starts Xvfb on a free display when it is installed; nothing otherwise.
    static std::unique_ptr<VirtualDisplay> startIfInstalled();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    const std::string& name() const { return name_; } // ":N", as DISPLAY takes it

private:
    VirtualDisplay(pid_t pid, std::string name) : pid_(pid), name_(std::move(name)) {}

    pid_t pid_;
    std::string name_;
};
