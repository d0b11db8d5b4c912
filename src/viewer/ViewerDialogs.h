// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace orv {

// What a viewer asks of the user, so tests can answer instead of a person.
class ViewerDialogs {
public:
    virtual ~ViewerDialogs() = default;
    // Recording files to open; empty when the user cancelled.
    virtual QStringList openNames(QWidget *parent) = 0;
    virtual std::optional<QString> saveName(QWidget *parent, const QString &title, const QString &suggested,
                                            const QString &filter) = 0;
    // Width and height of an exported picture.
    virtual std::optional<QSize> pictureSize(QWidget *parent, QSize suggested) = 0;
    // A message that does not stop the viewer.
    virtual void inform(QWidget *parent, const QString &text) = 0;
};

// Qt's dialogs, in French and not the desktop's own, so they look and read alike everywhere.
class QtViewerDialogs final : public ViewerDialogs {
public:
    QStringList openNames(QWidget *parent) override;
    std::optional<QString> saveName(QWidget *parent, const QString &title, const QString &suggested,
                                    const QString &filter) override;
    std::optional<QSize> pictureSize(QWidget *parent, QSize suggested) override;
    void inform(QWidget *parent, const QString &text) override;
};

} // namespace orv
