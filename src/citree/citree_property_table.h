#pragma once

#include "citree/citree.h"
#include "ports/control_properties.h"

#include <span>
#include <vector>

namespace vestrak {

/// Every property of the navigation tree, once for every host: the page scripts bind these names,
/// and CiTreeWidget offers each as a Qt property of the matching type.
inline std::span<const ControlProperty<CiTree>> CiTreeProperties()
{
    using enum PropertyKind;
    using enum PropertyTiming;
    using Tree = CiTree;
    static const std::vector<ControlProperty<Tree>> table {
        { .name = u"ObjectFile",
            .kind = Text,
            .timing = NextBuild,
            .get = PropertyGetter<Tree>(&Tree::ObjectFile),
            .set = PropertySetter(&Tree::setObjectFile) },
        { .name = u"ObjectFileSection",
            .kind = Text,
            .timing = NextBuild,
            .get = PropertyGetter<Tree>(&Tree::ObjectFileSection),
            .set = PropertySetter(&Tree::setObjectFileSection) },
        { .name = u"RootObject",
            .kind = Text,
            .timing = NextBuild,
            .get = PropertyGetter<Tree>(&Tree::RootObject),
            .set = PropertySetter(&Tree::setRootObject) },
        { .name = u"BackColor",
            .kind = Color,
            .timing = NextBuild,
            .get = PropertyGetter<Tree>(&Tree::BackColor),
            .set = PropertySetter(&Tree::setBackColor) },
        { .name = u"SelectedObject",
            .kind = Text,
            .timing = NextBuild,
            .changes = PropertyChanges::ByOperator,
            .get = PropertyGetter<Tree>(&Tree::SelectedObject),
            .set = PropertySetter(&Tree::setSelectedObject) },
        { .name = u"SelectedObjectExtraInfo",
            .kind = Text,
            .timing = NextBuild,
            .changes = PropertyChanges::ByOperator,
            .get = PropertyGetter<Tree>(&Tree::SelectedObjectExtraInfo),
            .set = PropertySetter(&Tree::setSelectedObjectExtraInfo) },
        { .name = u"SelectedObjectExtraKey",
            .kind = Text,
            .use = PropertyUse::RunTime,
            .changes = PropertyChanges::ByOperator,
            .get = PropertyGetter<Tree>(&Tree::SelectedObjectExtraKey) },
        { .name = u"CollapseTime",
            .kind = Number,
            .get = PropertyGetter<Tree>(&Tree::CollapseTime),
            .set = PropertySetter(&Tree::setCollapseTime) },
        { .name = u"ExpandedWidth", .kind = Number, .set = PropertySetter(&Tree::setExpandedWidth) },
        { .name = u"ExpandedHeight", .kind = Number, .set = PropertySetter(&Tree::setExpandedHeight) },
        { .name = u"Visible",
            .kind = YesNo,
            .use = PropertyUse::RunTime,
            .set = PropertySetter(&Tree::setVisible) },
        // Last, as a form lists its properties: the build then finds all the others set.
        { .name = u"Style",
            .kind = Flags,
            .timing = Builds,
            .get = PropertyGetter<Tree>(&Tree::Style),
            .set = PropertySetter(&Tree::setStyle) },
    };
    return table;
}

} // namespace vestrak
