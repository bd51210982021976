#!/usr/bin/python3
"""Writes the test pattern (see fault_server.py) of SIZE bytes to PATH: make_pattern.py PATH SIZE"""
import sys

size = int(sys.argv[2])
with open(sys.argv[1], "wb") as f:
    f.write(bytes(((i * 2654435761) & 0xFFFFFFFF) >> 13 & 0xFF for i in range(size)))
