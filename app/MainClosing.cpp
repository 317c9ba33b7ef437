#include "app/MainClosing.h"

#include "core/TextStore.h"
#include "platform/ProgramFolder.h"
#include "present/MarqueePageBuilder.h"

QString saveAtClosing(const SettingsFileContent &content, const Options &options)
{
    const bool settingsSaved = saveSettings(settingsFilePath(), content);
    const bool optionsSaved = saveOptions(optionsFilePath(), options);
    if (!settingsSaved)
        return settingsNotSavedMessage();
    return optionsSaved ? QString() : optionsNotSavedMessage();
}

void removeGeneratedPages()
{
    removeFile(platform::programPath(marqueePageFileName()));
    removeFile(platform::programPath(QStringLiteral("image/tempHtml3.html")));
}
