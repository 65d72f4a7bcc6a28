#pragma once
// Process-unique numbers for names: the program's messages, timer and
// control ids and label keys. The same name always gets the same id; ids are
// handed out from 0xC000 upward in the order names are first registered.
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace quillory {

class NameRegistry {
public:
    static constexpr std::uint32_t kFirstId = 0xC000;

    // Registers every name of the program's table (RegisteredNames()).
    NameRegistry();

    // The id of a name, registering it when it is new.
    std::uint32_t Register(const QString& name);
    std::optional<std::uint32_t> idOf(const QString& name) const;
    // The name of an id, or an empty text.
    QString nameOf(std::uint32_t id) const;

    // Every registered name of the program, in registration order: messages,
    // the single-instance protocol, timer ids, stroke-player control ids,
    // tooltip ids and page label keys.
    static const QStringList& RegisteredNames();

private:
    QHash<QString, std::uint32_t> ids_;
    QStringList names_;
};

} // namespace quillory
