#pragma once

#include "app/qt/frm_points_window.h"

#include <QString>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kastrel::app::qt::testing {

// Records what the window reports, with the check box value the logic would
// read at that moment.
class RecordingEvents : public MainWindowEvents {
public:
    void cmd_lesen_Click() override { calls.push_back("cmd_lesen_Click"); }
    void cmd_schreiben_Click() override { calls.push_back("cmd_schreiben_Click"); }
    void cmd_allemarkieren_Click() override { calls.push_back("cmd_allemarkieren_Click"); }
    void cmd_alledemarkieren_Click() override { calls.push_back("cmd_alledemarkieren_Click"); }
    void cmd_auswerten_Click() override { calls.push_back("cmd_auswerten_Click"); }
    void Check_Click(int check) override {
        calls.push_back("Check_Click(" + std::to_string(check) +
                        ") value=" + std::to_string(view->check_value(check)));
    }

    const MainWindowView* view = nullptr;
    std::vector<std::string> calls;
};

// Answers the dialogs from a script instead of showing them.
class ScriptedDialogs : public Dialogs {
public:
    void message(QWidget* parent, const QString& text) override {
        parents.push_back(parent);
        messages.push_back(text);
    }
    std::optional<QString> save_file(QWidget* parent, const SaveDialogRequest& request) override {
        parents.push_back(parent);
        save_requests.push_back(request);
        if (save_answers.empty()) {
            ADD_FAILURE() << "save dialog shown without a scripted answer";
            return std::nullopt;
        }
        const bool chosen = save_answers.front().has_value();
        const QString name = save_answers.front().value_or(QString());
        save_answers.pop_front();
        // Built afresh: copying the optional trips a false uninitialised warning at -O2.
        return chosen ? std::optional<QString>(name) : std::nullopt;
    }

    void evaluation(QWidget* parent, const std::vector<exporter::RoundnessRow>& rows,
                    const std::string&) override {
        parents.push_back(parent);
        evaluations.push_back(rows.size());
    }

    std::deque<std::optional<QString>> save_answers;
    std::vector<std::size_t> evaluations; // the rows of each window "Auswertung"
    std::vector<QWidget*> parents;
    std::vector<QString> messages;
    std::vector<SaveDialogRequest> save_requests;
};

class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        window = std::make_unique<FrmPointsWindow>(std::move(scripted));
        events.view = window.get();
        window->set_events(&events);
    }

    template <typename Control> Control& control(const char* name) const {
        auto* found = window->findChild<Control*>(QString::fromLatin1(name));
        if (found == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *found;
    }

    // Mouse and keyboard input need the window on (the offscreen) screen.
    void show_window() {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<FrmPointsWindow> window;
    RecordingEvents events;
};

} // namespace kastrel::app::qt::testing
