#include "support/scripted_dialogs.h"

namespace quorvex::test {

int ScriptedDialogs::MsgBox(const QString& text, int buttons, const QString& title) {
    boxes.push_back({text, buttons, title});
    if (answers.empty()) {
        return (buttons & 7) == vbYesNo ? vbNo : vbOK;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedDialogs::InputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) {
    prompts.push_back({prompt, title, defaultText});
    if (inputs.empty()) {
        return QString();
    }
    QString text = inputs.front();
    inputs.pop_front();
    return text;
}

QString ScriptedDialogs::BrowseForFolder(const QString& title) {
    folderTitles.append(title);
    if (folders.empty()) {
        return QString();
    }
    QString folder = folders.front();
    folders.pop_front();
    return folder;
}

QStringList ScriptedDialogs::Texts() const {
    QStringList texts;
    for (const Box& box : boxes) {
        texts.append(box.text);
    }
    return texts;
}

std::vector<ScriptedDialogs::Box> ScriptedDialogs::Errors() const {
    std::vector<Box> errors;
    for (const Box& box : boxes) {
        if (box.title == QStringLiteral("Application Error")) {
            errors.push_back(box);
        }
    }
    return errors;
}

}  // namespace quorvex::test
