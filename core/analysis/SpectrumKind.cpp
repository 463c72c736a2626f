#include "core/analysis/SpectrumKind.h"

std::string_view SpectrumKindName(TSpectrumKind kind)
{
    switch (kind) {
    case TSpectrumKind::Average: return "average";
    case TSpectrumKind::MaxHold: return "max-hold";
    }
    return {};
}

std::optional<TSpectrumKind> SpectrumKindNamed(std::string_view name)
{
    for (const TSpectrumKind kind : {TSpectrumKind::Average, TSpectrumKind::MaxHold}) {
        if (SpectrumKindName(kind) == name) {
            return kind;
        }
    }
    return std::nullopt;
}
