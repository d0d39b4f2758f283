// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

/// Holds the catalogue and category tables and their filtering.
class TDataModule1 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule1(QObject* parent = nullptr);
};
