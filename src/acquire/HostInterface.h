#pragma once
// The host's VBA object model as the project reader and the builder see it:
// the application, its open projects, their components and code modules.
// Every member may fail, as automation calls do; a failure throws HostError
// carrying the host's own description of it.
#include <exception>
#include <memory>
#include <string>

#include <QString>

namespace lumo {

class HostError : public std::exception {
public:
    explicit HostError(QString description)
        : description_(std::move(description)), what_(description_.toStdString()) {}
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    QString description_;
    std::string what_;
};

class HostComponent {
public:
    virtual ~HostComponent() = default;
    virtual QString name() const = 0;
    virtual int type() const = 0;  // 1 standard, 2 class, 3 user form, 100 document, others
    // CodeModule.CountOfLines and CodeModule.Lines(start, count): the lines
    // joined with CR LF, without a line break after the last.
    virtual int countOfLines() const = 0;
    virtual QString lines(int start, int count) const = 0;
};

class HostProject {
public:
    virtual ~HostProject() = default;
    virtual QString fileName() const = 0;  // fails for a document never saved
    virtual QString name() const = 0;
    virtual bool protection() const = 0;   // true when locked for viewing
    // VBComponents: Count, item by 1-based position, item by name.
    virtual int componentCount() const = 0;
    virtual HostComponent& component(int position) = 0;
    virtual HostComponent& component(const QString& name) = 0;
};

class HostApplication {
public:
    virtual ~HostApplication() = default;
    virtual QString version() const = 0;
    // VBE.VBProjects: Count and item by 1-based position.
    virtual int projectCount() const = 0;
    virtual HostProject& project(int position) = 0;
};

// Reaches the running host; the returned application lives for one listing
// or one build. Throws HostError when there is no host to reach.
class HostConnector {
public:
    virtual ~HostConnector() = default;
    virtual std::unique_ptr<HostApplication> connect() = 0;
};

}  // namespace lumo
