#pragma once

#include <fstream>
#include <memory>
#include <string>

#include <QSettings>
#include <gtest/gtest.h>

#include "ScriptedPrompts.h"
#include "TestDataSources.h"
#include "app/CBrindleApp.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "connection/CBrindleDoc.h"

// A whole application object over an empty profile of its own, with its
// dialogs answered by a script.
class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_profileDir = MakeTempDir();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(m_profileDir));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(m_profileDir));
        auto prompts = std::make_unique<ScriptedPrompts>();
        prompts_ = prompts.get();
        app_ = std::make_unique<CBrindleApp>(std::move(prompts));
        app_->SetSplashAllowed(false);
    }
    void TearDown() override { app_.reset(); }

    // Starts the application with a command line.
    bool Start(const QStringList &arguments = {}) { return app_->InitInstance(arguments); }
    CMainFrame &Frame() { return *app_->MainFrame(); }
    // The connection window of a document, or nullptr.
    CChildFrame *FrameOf(const CBrindleDoc *doc) {
        for (CChildFrame *frame : Frame().ChildFrames())
            if (&frame->Document() == doc)
                return frame;
        return nullptr;
    }

    // Writes a .dsn file by hand (not through the code under test).
    static std::string WriteDsn(const std::string &dir, const std::string &name,
                                const std::string &lines) {
        const std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << "[ODBC]\r\n" << lines;
        return path;
    }
    // A .dsn for a data source whose connection string is `connect`.
    static std::string DsnFor(const std::string &dir, const std::string &name,
                              const std::string &connect) {
        std::string lines;
        size_t start = 0;
        while (start < connect.size()) {
            size_t end = connect.find(';', start);
            if (end == std::string::npos)
                end = connect.size();
            std::string element = connect.substr(start, end - start);
            for (char brace : {'{', '}'})
                std::erase(element, brace);
            if (!element.empty())
                lines += element + "\r\n";
            start = end + 1;
        }
        return WriteDsn(dir, name, lines);
    }

    std::string m_profileDir;
    ScriptedPrompts *prompts_ = nullptr;
    std::unique_ptr<CBrindleApp> app_;
};
