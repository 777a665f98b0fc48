#pragma once

#include "platform/Registry.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace corvid::test {

/// Gives every registry test fresh, empty hive folders of its own and drops
/// the thread's hive connections before and after it.
class RegistryFixture : public ::testing::Test
{
protected:
    using Registry = tessera::Registry;
    using HKEY = tessera::HKEY;

    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedUser = qgetenv("TESSERA_USER_HIVE_DIR");
        m_savedMachine = qgetenv("TESSERA_MACHINE_HIVE_DIR");
        pointHivesAt(userDir(), machineDir());
    }
    void TearDown() override
    {
        for (HKEY key : m_open)
            Registry::RegCloseKey(key);
        qputenv("TESSERA_USER_HIVE_DIR", m_savedUser);
        qputenv("TESSERA_MACHINE_HIVE_DIR", m_savedMachine);
        Registry::closeAllHives();
    }

    QString userDir() const { return m_dir.filePath(QStringLiteral("user")); }
    QString machineDir() const { return m_dir.filePath(QStringLiteral("machine")); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    static void pointHivesAt(const QString &user, const QString &machine)
    {
        qputenv("TESSERA_USER_HIVE_DIR", user.toUtf8());
        qputenv("TESSERA_MACHINE_HIVE_DIR", machine.toUtf8());
        Registry::closeAllHives();
    }

    /// Creates (or opens) a key with every right; closed after the test.
    HKEY create(HKEY root, const QString &subKey)
    {
        HKEY key = 0;
        EXPECT_EQ(Registry::RegCreateKeyEx(root, subKey, Registry::KEY_ALL_ACCESS, &key), 0) << qPrintable(subKey);
        m_open.push_back(key);
        return key;
    }

    /// Opens a key; 0 when that fails. Closed after the test.
    HKEY open(HKEY root, const QString &subKey, quint32 access = Registry::KEY_ALL_ACCESS)
    {
        HKEY key = 0;
        if (Registry::RegOpenKeyEx(root, subKey, access, &key) != 0)
            return 0;
        m_open.push_back(key);
        return key;
    }

    static void set(HKEY key, const QString &name, const QByteArray &data, quint32 type = Registry::REG_BINARY)
    {
        EXPECT_EQ(Registry::RegSetValueEx(key, name, type, data), 0) << qPrintable(name);
    }

    /// The value's data through the size probe and a read; nothing when missing.
    static std::optional<QByteArray> get(HKEY key, const QString &name)
    {
        quint32 size = 0;
        if (Registry::RegQueryValueEx(key, name, nullptr, nullptr, &size) != 0)
            return std::nullopt;
        QByteArray data;
        EXPECT_EQ(Registry::RegQueryValueEx(key, name, nullptr, &data, &size), 0);
        EXPECT_EQ(quint32(data.size()), size);
        return data;
    }

    static QStringList subKeys(HKEY key)
    {
        QStringList names;
        QString name;
        for (quint32 i = 0; Registry::RegEnumKey(key, i, &name) == 0; ++i)
            names << name;
        return names;
    }

    static QStringList valueNames(HKEY key)
    {
        QStringList names;
        QString name;
        for (quint32 i = 0; Registry::RegEnumValue(key, i, &name) == 0; ++i)
            names << name;
        return names;
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_savedUser;
    QByteArray m_savedMachine;
    std::vector<HKEY> m_open;
};

} // namespace corvid::test
