"""Checks of the arguments the package's functions take: one clear error each, InputTypeError
(a TypeError) for an object of the wrong kind and InputError (a ValueError) for a value out of
range, before anything runs."""
from __future__ import annotations

import inspect
import math
import operator
import os
import random
from typing import Any, Callable, Dict, List, NamedTuple, Optional, Tuple

from . import _hamcycles
from ._hamcycles import Cancel, InputError, InputTypeError

MAX_SECONDS = 1e9
INT_MIN, INT_MAX = -(2**31), 2**31 - 1


def integer(name: str, value: Any, low: int = INT_MIN, high: int = INT_MAX) -> int:
    """`value` as an int in low..high (numpy's integers too, bools not)."""
    if type(value) is not int:
        if isinstance(value, bool) or not hasattr(type(value), "__index__"):
            raise InputTypeError(f"{name} must be an integer, not {value!r}")
        value = operator.index(value)
    if value < low or value > high:
        raise InputError(f"{name} must be in {low}..{high}, not {value}")
    return value


def number(name: str, value: Any) -> float:
    """`value` as a finite float (any real number, bools not)."""
    if isinstance(value, bool) or not isinstance(value, (int, float)) and not hasattr(type(value), "__float__"):
        raise InputTypeError(f"{name} must be a number, not {value!r}")
    result = float(value)
    if not math.isfinite(result):
        raise InputError(f"{name} must be a finite number, not {value!r}")
    return result


def time_limit(value: Any) -> float:
    """None (no limit) as 0, else a number of seconds in (0, 1e9]."""
    if value is None:
        return 0.0
    if isinstance(value, bool) or not isinstance(value, (int, float)) and not hasattr(type(value), "__float__"):
        raise InputTypeError(f"time_limit must be a number of seconds or None, not {value!r}")
    seconds = float(value)
    if not 0.0 < seconds <= MAX_SECONDS:
        raise InputError(f"time_limit must be a number of seconds in (0, 1e9] or None (no limit), not {value!r}")
    return seconds


# Seeds drawn for runs without one. The library would draw from the system's random device,
# which costs more than deciding a small graph; a private generator (reseeded in a forked
# child, so that worker processes do not repeat each other's seeds) costs nothing.
_seeds = random.Random()
os.register_at_fork(after_in_child=_seeds.seed)


def seed(value: Any) -> int:
    """The run's seed: `value` checked, or a fresh one for None."""
    return _seeds.getrandbits(32) if value is None else integer("seed", value, 0, 2**32 - 1)


class MethodOption(NamedTuple):
    """One option of solve, schc or cohc, as the library's option table gives it."""

    method: str
    name: str
    key: str  # the library's name, by which the run sets it
    low: int
    high: int
    choices: List[int]
    values_text: str
    default: int
    unset: Optional[int]
    switch: bool
    help: str


# The options' rows by (method, keyword), drawn from the library once.
OPTIONS: Dict[Tuple[str, str], MethodOption] = {
    (row[0], row[1]): MethodOption(*row) for row in _hamcycles.method_options()}


def option(method: str, name: str, value: Any) -> Any:
    """The value of a method's option, `value` checked against its row."""
    row = OPTIONS[(method, name)]
    if row.switch:
        return boolean(name, value)
    if not row.choices:
        return integer(name, value, row.low, row.high)
    value = integer(name, value)
    if value not in row.choices:
        raise InputError(f"{name} must be {row.values_text}, not {value}")
    return value


def options(method: str, given: Dict[str, Any]) -> Dict[str, int]:
    """The options a caller gave `method` as keyword arguments, each checked against its row,
    as {library name: value}; those given as None are left out (the run takes the default)."""
    out = {}
    for name, value in given.items():
        row = OPTIONS.get((method, name))
        if row is None:
            raise InputTypeError(f"{method}() got an unexpected keyword argument '{name}'")
        if value is not None:
            out[row.key] = int(option(method, name, value))
    return out


def takes_options(method: str) -> Callable[[Any], Any]:
    """Lists the options of `method` from their rows in the decorated function's signature (in
    place of its **options, before its other keywords) and at the end of its docstring."""
    def add(function: Any) -> Any:
        rows = [row for row in OPTIONS.values() if row.method == method]
        lines = []
        for row in rows:
            values = "True or False" if row.switch else row.values_text
            shown = "" if row.help.endswith(values) else f"{values}; "
            none = "no limit" if row.unset is not None else f"{bool(row.default) if row.switch else row.default}"
            lines.append(f"    {row.name}: {row.help} ({shown}None: {none}).")
        function.__doc__ = (function.__doc__ or "").rstrip() + "\n\n    Options:\n" + "\n".join(lines) + "\n"
        signature = inspect.signature(function)
        fixed = [p for p in signature.parameters.values() if p.kind != inspect.Parameter.VAR_KEYWORD]
        named = [inspect.Parameter(row.name, inspect.Parameter.KEYWORD_ONLY, default=None,
                                   annotation="Optional[bool]" if row.switch else "Optional[int]") for row in rows]
        function.__signature__ = signature.replace(parameters=fixed[:1] + named + fixed[1:])
        return function
    return add


def boolean(name: str, value: Any) -> bool:
    if not isinstance(value, bool):
        raise InputTypeError(f"{name} must be True or False, not {value!r}")
    return value


def callback(value: Any) -> Any:
    if value is not None and not callable(value):
        raise InputTypeError(f"progress must be a function of one argument or None, not {value!r}")
    return value


def path(value: Any) -> str:
    """A file name as a str (str, bytes or os.PathLike)."""
    try:
        return os.fsdecode(os.fspath(value))
    except TypeError:
        raise InputTypeError(f"a path must be a str or an os.PathLike, not {value!r}") from None


def proof(value: Any) -> str:
    """The proof= file of solve and cohc ("" when None)."""
    if value is None:
        return ""
    file = path(value)
    if not file:
        raise InputError("proof must name a file, not ''")
    return file


def base(value: Any) -> int:
    value = integer("base", value)
    if value not in (0, 1):
        raise InputError(f"base must be 0 or 1, not {value}")
    return value


def name_of(value: Any) -> str:
    if value is None:
        return ""
    if not isinstance(value, str):
        raise InputTypeError(f"name must be a str or None, not {value!r}")
    return value




def cancel(value: Any) -> Optional[Cancel]:
    if value is not None and not isinstance(value, Cancel):
        raise InputTypeError(f"cancel must be a hamcycles.Cancel or None, not {value!r}")
    return value
