from typing import Any, Dict, Optional

def convert(source: str, destination: str, format: str, pages: str, password: Optional[str],
            options: Dict[str, Any], record_places: bool) -> Dict[str, Any]: ...
