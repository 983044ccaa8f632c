#pragma once
#include <string>
#include <utility>

// Answers whether a path names something that exists.
class PathProbe {
public:
    explicit PathProbe(std::string path) : path_(std::move(path)) {}
    bool Exists() const;

private:
    std::string path_;
};
