#!/usr/bin/env bash
# Prints the architecture the test suite runs as: i686 where 32-bit Wine can run, else x86_64.
# (Some hosts, paravirtualised ones among them, refuse to execute 32-bit x86 code at all.)
if [ -n "${KAMVIO_ARCH:-}" ]; then echo "$KAMVIO_ARCH"; exit 0; fi
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
