#pragma once

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <QApplication>
#include <QKeyEvent>
#include <QSettings>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "ScriptedPrompts.h"
#include "TestDataSources.h"
#include "connection/CBrindleDoc.h"
#include "console/CDBOutputView.h"
#include "console/JoinedBlocks.h"

// A document (not connected) on a fake host with scripted dialogs and an empty
// profile, and its console, shown offscreen.
class ConsoleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const QString profile = QString::fromStdString(MakeTempDir());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profile);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, profile);
        host_ = std::make_unique<FakeHost>();
        prompts_ = &host_->prompts;
        doc_ = std::make_unique<CBrindleDoc>(*host_);
        view_ = MakeView(*doc_);
        dir_ = MakeTempDir();
    }
    void TearDown() override {
        view_.reset();
        doc_.reset();
        host_.reset();
    }

    static std::unique_ptr<CDBOutputView> MakeView(CBrindleDoc &doc) {
        auto view = std::make_unique<CDBOutputView>(doc, nullptr);
        view->resize(500, 300);
        view->show();
        return view;
    }

    // What a user sees, line breaks as "\n" (a long word whole, not cut into blocks).
    static std::string Shown(const CDBOutputView &view) {
        const QTextDocument &document = *view.document();
        return JoinedBlocks::Text(document, 0, document.characterCount() - 1, QStringLiteral("\n"))
            .toUtf8()
            .toStdString();
    }
    std::string Shown() const { return Shown(*view_); }
    std::string Input() const { return Shown().substr(InputOffset()); }
    // Byte offset of the input in Shown(): the prompt is the last "SQL> ".
    size_t InputOffset() const { return Shown().rfind("SQL> ") + 5; }

    // Key clicks; characters beyond ASCII come as the key events a keyboard
    // layout sends for them.
    void Type(const QString &text) {
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(view_.get(), char(c.unicode()));
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(view_.get(), &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(view_.get(), &release);
        }
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(view_.get(), key, modifiers);
    }
    // A left click on character `column` of line `line` (0-based).
    void ClickAt(int line, int column) {
        QTextCursor cursor(view_->document()->findBlockByNumber(line));
        cursor.setPosition(cursor.position() + column);
        const QRect rect = view_->cursorRect(cursor);
        QTest::mouseClick(view_->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(rect.left() + 1, rect.center().y()));
    }
    void Select(int anchor, int position) {
        QTextCursor cursor = view_->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        view_->setTextCursor(cursor);
    }
    int End() const { return view_->document()->characterCount() - 1; }
    bool Enabled(int id) {
        CommandState state;
        return view_->UpdateCommand(id, state) && state.enabled;
    }

    static std::string ReadBytes(const std::string &path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    static void WriteBytes(const std::string &path, const std::string &bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    ScriptedPrompts *prompts_ = nullptr;
    std::unique_ptr<FakeHost> host_;
    std::unique_ptr<CBrindleDoc> doc_;
    std::unique_ptr<CDBOutputView> view_;
    std::string dir_;
};
