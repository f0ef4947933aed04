#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The C++ code names things by what they do: no control-style identifiers
# (cmdExit, m_lblModel, frmX, fraX, comboCOM, picLogo, Label1, Frame2, VScroll1,
# MSComm, Timer1, *_Click) outside string literals, where the windows'
# objectName() strings keep them.
cd "$(dirname "$0")/.." || exit 2
prefixed='(?<!["\w])(?:\w*_)?(?:frm|cmd|lbl|fra|combo|pic|chk|txt|opt|mnu)[A-Z]\w*(?!["\w])'
numbered='(?<!["\w])(?:Frame|Label|Command|Text|Check|Picture|Combo|VScroll|Timer)\d+(?!["\w])'
hits=$(grep -rnP "$prefixed|$numbered|\\bMSComm\\w*|_Click\\b|\\bForm_Load\\b" src tests bench fuzz sim)
if [ -n "$hits" ]; then
    echo "$hits"
    exit 1
fi
exit 0
