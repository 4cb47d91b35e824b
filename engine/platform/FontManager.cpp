#include "engine/platform/FontManager.h"

#include "engine/core/Engine.h"
#include "engine/core/CountedRegistry.h"
#include "engine/core/Log.h"
#include "engine/platform/Font.h"

namespace zel {

namespace {

// Nothing registers fonts by name yet, so the registration texts are unused.
CountedRegistry<Font> gFonts({"", "", ""});

}  // namespace

int32_t FontManager::Initialize() {
    LogInfo("Инициализация менеджера шрифтов.");
    if (!gFonts.Create()) {
        LogError("Недостаточно памяти для инициализации менеджера шрифтов.");
        return kFailed;
    }
    LogInfo("Менеджер шрифтов инициализирован.");
    return kOk;
}

int32_t FontManager::Terminate() {
    LogInfo("Завершение работы менеджера шрифтов.");
    gFonts.Destroy();
    LogInfo("Менеджер шрифтов завершил работу.");
    return kOk;
}

int32_t FontManager::GetFontCount() { return gFonts.Count(); }

}  // namespace zel
