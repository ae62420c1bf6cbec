#pragma once
#include <QString>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/Dialogs.h"

namespace kel::test {

// Dialogs that remember instead of showing: message boxes never block, file
// choosers answer from a script (none left: cancelled).
class RecordingDialogs final : public ui::Dialogs {
public:
    struct Message {
        QString caption;
        QString text;
        MessageIcon icon;
    };
    std::vector<Message> messages;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::optional<std::string>> fileAnswers;
    int abouts = 0;

    void Message(QWidget*, const QString& caption, const QString& text, MessageIcon icon) override
    {
        messages.push_back({caption, text, icon});
    }
    std::optional<std::string> ChooseFile(QWidget*, const FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        if (fileAnswers.empty())
            return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    void About(QWidget*) override { ++abouts; }
};

}  // namespace kel::test
