#pragma once
// A scripted Office host: projects and components as the test sets them up,
// and failures where the test wants them.
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "acquire/HostInterface.h"

namespace lumo::test {

struct FakeComponent : HostComponent {
    QString nameText;
    int typeCode = 1;
    QStringList code;
    bool failLines = false;  // Lines() fails, as when the document was closed

    FakeComponent(QString n, int t, QStringList c) : nameText(std::move(n)), typeCode(t), code(std::move(c)) {}
    QString name() const override { return nameText; }
    int type() const override { return typeCode; }
    int countOfLines() const override { return int(code.size()); }
    QString lines(int start, int count) const override {
        if (failLines) throw HostError("Objekt nicht mehr verfügbar");
        return code.mid(start - 1, count).join("\r\n");
    }
};

struct FakeProject : HostProject {
    std::optional<QString> file;  // nullopt: never saved, FileName fails
    QString nameText;
    bool locked = false;
    std::vector<FakeComponent> components;
    bool failComponents = false;

    QString fileName() const override {
        if (!file) throw HostError("Datei nicht gespeichert");
        return *file;
    }
    QString name() const override { return nameText; }
    bool protection() const override { return locked; }
    int componentCount() const override {
        if (failComponents) throw HostError("Zugriff auf VBA-Projekt verweigert");
        return int(components.size());
    }
    HostComponent& component(int position) override {
        if (position < 1 || position > int(components.size())) throw HostError("Index außerhalb des Bereichs");
        return components[std::size_t(position - 1)];
    }
    HostComponent& component(const QString& n) override {
        for (auto& c : components)
            if (c.nameText.compare(n, Qt::CaseInsensitive) == 0) return c;
        throw HostError("Unterobjekt nicht gefunden: " + n);
    }
};

struct FakeApplication : HostApplication {
    QString versionText = "11.0";
    std::vector<FakeProject>* projects = nullptr;
    bool failProjects = false;

    QString version() const override { return versionText; }
    int projectCount() const override {
        if (failProjects) throw HostError("Der programmatische Zugriff auf das Visual Basic-Projekt ist nicht sicher");
        return int(projects->size());
    }
    HostProject& project(int position) override {
        if (position < 1 || position > int(projects->size())) throw HostError("Index außerhalb des Bereichs");
        return (*projects)[std::size_t(position - 1)];
    }
};

struct FakeConnector : HostConnector {
    bool running = true;
    QString version = "11.0";
    bool failProjects = false;
    std::vector<FakeProject> projects;
    int connections = 0;

    std::unique_ptr<HostApplication> connect() override {
        ++connections;
        if (!running) throw HostError("ActiveX-Komponente kann kein Objekt erstellen");
        auto app = std::make_unique<FakeApplication>();
        app->versionText = version;
        app->projects = &projects;
        app->failProjects = failProjects;
        return app;
    }

    FakeProject& add(QString name, std::optional<QString> file, std::vector<FakeComponent> components = {}) {
        FakeProject p;
        p.nameText = std::move(name);
        p.file = std::move(file);
        p.components = std::move(components);
        projects.push_back(std::move(p));
        return projects.back();
    }
};

// n lines of code; noCode(n): n lines that hold none (what the host puts in an empty module).
inline QStringList linesOf(int n) {
    QStringList l;
    for (int i = 1; i <= n; ++i) l << QString("Zeile%1 = %1").arg(i);
    return l;
}
inline QStringList noCode(int n) {
    QStringList l{"Option Explicit"};
    for (int i = 2; i <= n; ++i) l << QString("' Zeile %1").arg(i);
    return l.mid(0, n);
}

}  // namespace lumo::test
