#pragma once

#include "app/main_window/main_window_view.h"

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace kastrel::fakes {

// A progress window without widgets: records what the run shows; a test
// may press "Abbrechen" from `on_pump`.
class FakeProgress : public app::ProgressView {
public:
    int runs = 0;
    bool in_run = false;
    int shows = 0;
    int pumps = 0;
    std::vector<std::string> lines;
    std::function<void(app::ProgressEvents&)> on_pump;

    void begin_run(app::ProgressEvents& events) override {
        events_ = &events;
        in_run = true;
        ++runs;
    }
    void end_run() override {
        events_ = nullptr;
        in_run = false;
    }
    void show_progress() override { ++shows; }
    void set_progress(const std::string& line, std::optional<double>) override {
        lines.push_back(line);
    }
    void pump() override {
        ++pumps;
        if (on_pump && events_)
            on_pump(*events_);
    }

private:
    app::ProgressEvents* events_ = nullptr;
};

// A window without widgets: records what the logic does and answers its
// dialogs from queues the test fills.
class FakeView : public app::MainWindowView {
public:
    std::string caption = "Kastrel";
    std::vector<std::string> entries;
    std::vector<bool> selected;
    std::array<bool, 5> options{};         // [1..4]
    std::array<int, 4> checks{0, 1, 0, 0}; // [1..3]
    std::map<app::CommandButton, bool> enabled{{app::CommandButton::cmd_lesen, true}};
    std::vector<app::Pointer> pointers;
    std::vector<std::string> messages;
    std::vector<app::SaveDialogRequest> save_requests;
    std::deque<std::optional<std::string>> save_answers;
    bool ended = false;
    // The rows of each window "Auswertung" shown.
    std::vector<std::vector<exporter::RoundnessRow>> evaluations;
    std::string separator = ",";
    FakeProgress progress;

    void set_caption(const std::string& text) override { caption = text; }
    void clear_entries() override {
        entries.clear();
        selected.clear();
    }
    void add_entry(const std::string& text) override {
        entries.push_back(text);
        selected.push_back(false);
    }
    int entry_count() const override { return static_cast<int>(entries.size()); }
    std::string entry_text(int index) const override {
        return entries.at(static_cast<std::size_t>(index));
    }
    bool entry_selected(int index) const override {
        return selected.at(static_cast<std::size_t>(index));
    }
    void set_all_selected(bool on) override { selected.assign(entries.size(), on); }
    bool option_value(int option) const override {
        return options.at(static_cast<std::size_t>(option));
    }
    void set_option_value(int option, bool on) override {
        if (on)
            options.fill(false);
        options.at(static_cast<std::size_t>(option)) = on;
    }
    int check_value(int check) const override { return checks.at(static_cast<std::size_t>(check)); }
    void set_check_value(int check, int value) override {
        checks.at(static_cast<std::size_t>(check)) = value;
    }
    void set_enabled(app::CommandButton button, bool on) override { enabled[button] = on; }
    void set_pointer(app::Pointer pointer) override { pointers.push_back(pointer); }
    void show_message(const std::string& text) override { messages.push_back(text); }
    std::optional<std::string> show_save_dialog(const app::SaveDialogRequest& request) override {
        save_requests.push_back(request);
        if (save_answers.empty())
            return std::nullopt;
        auto answer = save_answers.front();
        save_answers.pop_front();
        return answer;
    }
    void show_evaluation(const std::vector<exporter::RoundnessRow>& rows) override {
        evaluations.push_back(rows);
    }
    void end_program() override { ended = true; }
    std::string decimal_separator() const override { return separator; }
    app::ProgressView& progress_view() override { return progress; }

    bool is_enabled(app::CommandButton button) const {
        const auto it = enabled.find(button);
        return it != enabled.end() && it->second;
    }
};

} // namespace kastrel::fakes
