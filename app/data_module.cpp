// SPDX-License-Identifier: MIT
#include "app/data_module.h"

TDataModule1::TDataModule1(QObject* parent)
    : QObject(parent) {
    setObjectName(QStringLiteral("DataModule1"));
}
