// Dialog and bitmap resources per module, and the current resource module, kept in the
// application's context.
#include "platform/ui/Resources.h"

#include "platform/ui/TextMeasure.h"
#include "platform/ui/UiContext.h"

#include <algorithm>
#include <map>
#include <utility>

namespace plat {

namespace {

template <class T>
using ResourceTable = std::map<std::pair<ModuleHandle, UINT>, T>;

template <class T>
ResourceTable<T>& Table()
{
    return CurrentUiContext().Get<ResourceTable<T>>();
}

struct CurrentModule {
    ModuleHandle module = nullptr;
};

ModuleHandle& Current() { return CurrentUiContext().Get<CurrentModule>().module; }

// value * numerator / denominator, halves away from zero, as dialog units are converted.
LONG MulDiv(LONG value, LONG numerator, LONG denominator) noexcept
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<LONG>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

} // namespace

RECT MapDialogRect(const LOGFONTA& font, int x, int y, int cx, int cy)
{
    const FontMetrics metrics = GetTextMeasure().Metrics(font);
    const LONG baseX = std::max(1, metrics.averageWidth);
    const LONG baseY = std::max(1, metrics.height);
    return RECT{MulDiv(x, baseX, 4), MulDiv(y, baseY, 8), MulDiv(x + cx, baseX, 4), MulDiv(y + cy, baseY, 8)};
}

SIZE PixelsToDialogUnits(const LOGFONTA& font, SIZE pixels)
{
    const FontMetrics metrics = GetTextMeasure().Metrics(font);
    return SIZE{pixels.cx * 4 / std::max(1, metrics.averageWidth), pixels.cy * 8 / std::max(1, metrics.height)};
}

LOGFONTA DialogLogFont(const DialogTemplate& dialogTemplate)
{
    Font font;
    font.CreatePointFont(dialogTemplate.pointSize * 10, dialogTemplate.fontFace);
    LOGFONTA logFont;
    font.GetLogFont(&logFont);
    return logFont;
}

void AddDialogResource(ModuleHandle module, UINT id, DialogTemplate dialogTemplate)
{
    Table<DialogTemplate>()[{module, id}] = std::move(dialogTemplate);
}

const DialogTemplate* FindDialogResource(ModuleHandle module, UINT id)
{
    auto& table = Table<DialogTemplate>();
    auto it = table.find({module, id});
    return it == table.end() ? nullptr : &it->second;
}

void AddBitmapResource(ModuleHandle module, UINT id, Bitmap bitmap) { Table<Bitmap>()[{module, id}] = std::move(bitmap); }

const Bitmap* FindBitmapResource(ModuleHandle module, UINT id)
{
    auto& table = Table<Bitmap>();
    auto it = table.find({module, id});
    return it == table.end() ? nullptr : &it->second;
}

ModuleHandle GetResourceHandle() noexcept { return Current(); }

ModuleHandle SetResourceHandle(ModuleHandle module) noexcept { return std::exchange(Current(), module); }

} // namespace plat
