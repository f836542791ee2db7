#pragma once

#include <QTextStream>
#include <QWidget>

// Writes what a page shows without a screen: for each control on it, its class, the properties
// named and the rows of the tree it shows, indented by depth.
void printPageRows(const QWidget& page, const QStringList& propertyNames, QTextStream& out);
