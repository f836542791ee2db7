/// \file
/// The platform of the Qt widgets that are made without one.
#pragma once

#include "../export.h"
#include "../ports/platform.h"

namespace vestrak {

/// The platform of every widget made without one (in code, by QUiLoader, in Qt Designer): a
/// LivePlatform, made when the first such widget asks for it and kept until the program ends.
VESTRAK_QTWIDGETS_EXPORT const Platform& applicationPlatform();

/// Gives the widgets made without a platform another one; its services must outlive them. False,
/// and nothing changes, once a widget uses the application platform: it keeps that one for life.
VESTRAK_QTWIDGETS_EXPORT bool setApplicationPlatform(const Platform& platform);

} // namespace vestrak
