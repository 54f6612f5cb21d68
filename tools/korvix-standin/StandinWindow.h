#pragma once

#include <QMainWindow>
#include <QString>
#include <QVector>

class QLabel;

// One stock of a group file: code, Tab, name.
struct StandinStock
{
    QString code;
    QString name;
};

// The stand-in's main window. Caption "Korvix" while idle; "Korvix - <base> - <stock>" while it
// shows a stock of a group. Menu "Fichier" (Alt+F) with "Groupes..." (G), the group pre-selection
// of the base it was started in (its current directory); Page Down and Page Up page through the
// group's stocks.
class StandinWindow final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StandinWindow)

public:
    // `base` is the base folder whose groups are offered.
    explicit StandinWindow(const QString& base, QWidget* parent = nullptr);

    // The group files of the base (*.txt in base/groupe, folder names matched without regard to
    // case), names without ".txt", sorted.
    QStringList groupNames() const;

    // Opens group `name` on its stock at `position` (from 0; clamped to the group). Returns false,
    // leaving the window idle, when the group cannot be read or holds no stock.
    bool openGroup(const QString& name, int position);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showGroupPreselection();
    void showStock(int position);
    void showIdle();
    QString groupFolder() const;

    QString m_base;
    QLabel* m_chart = nullptr;
    QVector<StandinStock> m_stocks;
    int m_position = -1;
};
