#pragma once

#include "core/model/StickerImage.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <memory>
#include <vector>

namespace lumivex {

// The user's own stickers: the PNG files of one folder, newest first. Files are the only lasting identity (by
// file name); the ids of items and sticker images are made afresh whenever the folder is read. Every file-system
// failure is silent: a folder that cannot be created or listed is an empty library, an unreadable file is left
// out. Main thread only.
class StickerLibrary : public QObject {
    Q_OBJECT

public:
    struct Item {
        QUuid id;
        std::shared_ptr<const StickerImage> sticker;
        QString path; // the PNG file

        QString fileName() const;
        bool operator==(const Item& other) const;
    };

    // Creates the folder (with its parents) when it is missing and reads it.
    explicit StickerLibrary(QString directory, QObject* parent = nullptr);

    // The user's library in defaultDirectory(), created on first use and kept for the whole run.
    static StickerLibrary& shared();
    // $XDG_DATA_HOME/lumivex/Stickers, or ~/.local/share/lumivex/Stickers when the variable is unset.
    static QString defaultDirectory();

    const QString& directory() const { return m_directory; }
    const std::vector<Item>& items() const { return m_items; }
    // The first item whose sticker has the id, or nothing.
    const Item* item(const QUuid& stickerId) const;
    // The first item stored under the file name, or nothing.
    const Item* itemNamed(const QString& fileName) const;

    // Reads the folder again: every file ending in .png (any letter case) that decodes, newest first.
    void reload();
    // Stores the bitmap as a new PNG sticker named after `name` and puts it first. Nothing when encoding or
    // writing fails.
    std::shared_ptr<const StickerImage> add(const QImage& image, const QString& name);
    // Adds every file that decodes as an image, under its file name without the extension; the others are skipped.
    std::vector<std::shared_ptr<const StickerImage>> importFiles(const QStringList& paths);
    // Deletes the file (a failure is ignored) and drops the item. Annotations showing it keep their bitmap.
    void remove(const Item& item);

    // The file name add() stores a sticker under: the name with "/" turned into "-", "-", the first 8
    // characters of a new UUID and ".png". A leading "." becomes "-" so the file is never hidden (hidden files
    // are not listed, and the sticker would be gone after the next reload).
    static QString fileNameFor(const QString& name, const QUuid& uuid);

Q_SIGNALS:
    void itemsChanged();

private:
    void setItems(std::vector<Item> items);

    QString m_directory;
    std::vector<Item> m_items;
};

} // namespace lumivex
