#pragma once

#include "MessageBoxes.h"
#include "clsCommonDialog.h"

#include <deque>
#include <initializer_list>
#include <vector>

// Stands in for the person at the file chooser: records what each dialog was
// asked and answers with the next scripted choice, or cancels when none is left.
class PersonAtTheChooser final : public FileDialogPlatform {
public:
    struct Choice {
        QString path; // empty: cancel
        int filterIndex = 1;
    };

    explicit PersonAtTheChooser(std::initializer_list<Choice> script = {}) : choices(script) {}

    bool GetOpenFileName(OpenFileName& record) override { return Answer(record); }
    bool GetSaveFileName(OpenFileName& record) override { return Answer(record); }

    std::deque<Choice> choices;
    std::vector<OpenFileName> asked;

private:
    bool Answer(OpenFileName& record)
    {
        asked.push_back(record);
        const Choice choice = choices.empty() ? Choice{} : choices.front();
        if (!choices.empty())
            choices.pop_front();
        if (choice.path.isEmpty())
            return false;
        record.file = choice.path;
        record.filterIndex = choice.filterIndex;
        return true;
    }
};

// Sees every message box the window shows, in order, and dismisses it.
class BoxWatcher final : public MessageBoxes {
public:
    struct Box {
        QWidget* owner;
        QString text;
        QString title;
        BoxIcon icon;
        bool operator==(const Box&) const = default;
    };

    void Show(QWidget* owner, const QString& text, const QString& title, BoxIcon icon) override
    {
        shown.push_back({owner, text, title, icon});
    }

    // Answers each question with the next scripted answer, or Cancel when none is left.
    BoxAnswer AskToSave(QWidget* owner, const QString& text, const QString& title) override
    {
        asked.push_back({owner, text, title, BoxIcon::none});
        const BoxAnswer answer = answers.empty() ? BoxAnswer::cancel : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }

    BoxAnswer AskToSaveAnyway(QWidget* owner, const QString& text, const QString& title) override
    {
        return AskToSave(owner, text, title);
    }

    std::vector<Box> shown;
    std::vector<Box> asked;
    std::deque<BoxAnswer> answers;
};
