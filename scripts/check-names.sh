#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The C++ code names things by what they do: no control-style identifiers
# (cmdX, lblX, frmX, fraX, FrameN, VScroll, MSComm, Timer1, *_Click) outside
# string literals, where the windows' objectName() strings keep them.
cd "$(dirname "$0")/.." || exit 2
hits=$(grep -rnP '(?<!["\w])\w*(\b(frm|cmd|lbl|fra)[A-Z_]\w*|Frame\d|VScroll|MSComm|_Click\b|Form_Load|Timer1)\w*(?!["\w])' \
    src tests bench fuzz sim)
if [ -n "$hits" ]; then
    echo "$hits"
    exit 1
fi
exit 0
