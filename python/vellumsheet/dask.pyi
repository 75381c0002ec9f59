import os
from typing import Any, Callable, Dict, Iterable, List, Optional, Sequence, Tuple, Union

import dask.bag

from . import Result

Item = Union[str, os.PathLike, Tuple[str, bytes]]

class FileResult:
    input: str
    output: Optional[str]
    status: int
    error: Optional[str]
    message: Optional[str]
    result: Optional[Result]
    files: Dict[str, bytes]
    @property
    def ok(self) -> bool: ...

def convert_many(
    paths: Iterable[Item],
    out_dir: Union[str, os.PathLike],
    client: Any = ...,
    format: str = ...,
    retries: int = ...,
    send_bytes: bool = ...,
    progress: bool = ...,
    on_result: Optional[Callable[[FileResult], None]] = ...,
    **options: Any,
) -> List[FileResult]: ...

def read_many(
    paths: Iterable[Item],
    pages: Any = ...,
    password: Optional[str] = ...,
    header: Optional[bool] = ...,
    send_bytes: bool = ...,
    **options: Any,
) -> dask.bag.Bag: ...

def convert_file(item: Item, out_dir: str, format: str, options: Dict[str, Any], send_bytes: bool = ...) -> FileResult: ...
def read_file(item: Item, pages: Any, password: Optional[str], header: Optional[bool], options: Dict[str, Any]) -> Dict[str, Any]: ...
def main(argv: Optional[Sequence[str]] = ...) -> int: ...
