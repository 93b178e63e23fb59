// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Drops every typed or composed character that titrova::modProcs::filterKey refuses.
class KeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
