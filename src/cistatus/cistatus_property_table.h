#pragma once

#include "cistatus/cistatus.h"
#include "ports/control_properties.h"

#include <span>
#include <vector>

namespace vestrak {

/// Every property of the status tree, once for every host: the page scripts bind these names, and
/// CiStatusWidget offers each as a Qt property of the matching type.
inline std::span<const ControlProperty<CiStatus>> CiStatusProperties()
{
    using enum PropertyKind;
    using enum PropertyTiming;
    using Status = CiStatus;
    static const std::vector<ControlProperty<Status>> table {
        { .name = u"RootObject",
            .kind = Text,
            .timing = NextBuild,
            .get = PropertyGetter<Status>(&Status::RootObject),
            .set = PropertySetter(&Status::setRootObject) },
        { .name = u"ObjectTagName",
            .kind = Text,
            .use = PropertyUse::Query,
            .get = PropertyGetter<Status>(&Status::ObjectTagName) },
        { .name = u"ObjectStatus",
            .kind = Number,
            .use = PropertyUse::RunTime,
            .get = PropertyGetter<Status>(&Status::ObjectStatus),
            .set = PropertySetter(&Status::setObjectStatus) },
        { .name = u"UpdateInterval",
            .kind = Number,
            .get = PropertyGetter<Status>(&Status::UpdateInterval),
            .set = PropertySetter(&Status::setUpdateInterval) },
        { .name = u"Behaviour",
            .kind = Flags,
            .get = PropertyGetter<Status>(&Status::Behaviour),
            .set = PropertySetter(&Status::setBehaviour) },
        { .name = u"SelectedNode",
            .kind = Text,
            .use = PropertyUse::RunTime,
            .changes = PropertyChanges::ByOperator,
            .get = PropertyGetter<Status>(&Status::SelectedNode) },
        { .name = u"SelectedNodeCode",
            .kind = Text,
            .use = PropertyUse::RunTime,
            .changes = PropertyChanges::ByOperator,
            .get = PropertyGetter<Status>(&Status::SelectedNodeCode) },
        { .name = u"SelectedNodeTagName",
            .kind = Text,
            .use = PropertyUse::RunTime,
            .changes = PropertyChanges::ByOperator,
            .get = PropertyGetter<Status>(&Status::SelectedNodeTagName) },
        { .name = u"PopupMenuItem", .kind = TextItems, .set = PropertySetter(&Status::setPopupMenuItem) },
        { .name = u"SelectedPopupMenuItem",
            .kind = Text,
            .use = PropertyUse::RunTime,
            .changes = PropertyChanges::ByOperator,
            .get = PropertyGetter<Status>(&Status::SelectedPopupMenuItem) },
        { .name = u"BackColor",
            .kind = Color,
            .timing = NextBuild,
            .get = PropertyGetter<Status>(&Status::BackColor),
            .set = PropertySetter(&Status::setBackColor) },
        { .name = u"PictureVisible",
            .kind = YesNo,
            .get = PropertyGetter<Status>(&Status::PictureVisible),
            .set = PropertySetter(&Status::setPictureVisible) },
        { .name = u"PictureWidth",
            .kind = Number,
            .get = PropertyGetter<Status>(&Status::PictureWidth),
            .set = PropertySetter(&Status::setPictureWidth) },
        { .name = u"TextHeight",
            .kind = Number,
            .get = PropertyGetter<Status>(&Status::TextHeight),
            .set = PropertySetter(&Status::setTextHeight) },
        // Last, as a form lists its properties: the load then finds all the others set.
        { .name = u"ObjectFile",
            .kind = Text,
            .timing = Builds,
            .get = PropertyGetter<Status>(&Status::ObjectFile),
            .set = PropertySetter(&Status::setObjectFile) },
    };
    return table;
}

} // namespace vestrak
